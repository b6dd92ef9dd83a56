#include "platform/display/qt/desktop_probe.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <cstdlib>

namespace morvex::display::qt {
namespace {

bool EnvironmentSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

// The client library of a display server, loaded only for the probe so that the program does
// not depend on it; the probe's connection keeps it loaded.
void* LoadClientLibrary(const char* name) { return dlopen(name, RTLD_NOW | RTLD_LOCAL); }

template <typename Function>
Function Find(void* library, const char* symbol) {
  return reinterpret_cast<Function>(dlsym(library, symbol));
}

std::unique_ptr<ProbeConnection> ConnectX() {
  void* xcb = LoadClientLibrary("libxcb.so.1");
  if (!xcb) return nullptr;
  auto connect = Find<void* (*)(const char*, int*)>(xcb, "xcb_connect");
  auto hasError = Find<int (*)(void*)>(xcb, "xcb_connection_has_error");
  auto disconnect = Find<void (*)(void*)>(xcb, "xcb_disconnect");
  if (!connect || !hasError || !disconnect) {
    dlclose(xcb);
    return nullptr;
  }
  // xcb_connect always returns a connection object; its error state tells the outcome.
  void* connection = connect(nullptr, nullptr);
  auto held = std::make_unique<ProbeConnection>(xcb, connection, disconnect);
  if (hasError(connection) != 0) return nullptr;
  return held;
}

std::unique_ptr<ProbeConnection> ConnectWayland() {
  void* wayland = LoadClientLibrary("libwayland-client.so.0");
  if (!wayland) return nullptr;
  auto connect = Find<void* (*)(const char*)>(wayland, "wl_display_connect");
  auto disconnect = Find<void (*)(void*)>(wayland, "wl_display_disconnect");
  void* display = connect && disconnect ? connect(nullptr) : nullptr;
  if (!display) {
    dlclose(wayland);
    return nullptr;
  }
  return std::make_unique<ProbeConnection>(wayland, display, disconnect);
}

}  // namespace

ProbeConnection::~ProbeConnection() {
  disconnect_(connection_);
  dlclose(library_);
}

bool PlatformPluginInstalled(const std::string& name) {
  const QString prefix = QStringLiteral("libq") + QString::fromStdString(name);
  // Qt's plugin directory and those named in QT_PLUGIN_PATH.
  for (const QString& directory : QCoreApplication::libraryPaths()) {
    const QDir platforms(directory + QStringLiteral("/platforms"));
    for (const QString& file : platforms.entryList({prefix + QStringLiteral("*.so")}, QDir::Files)) {
      const QString rest = file.mid(prefix.size());
      if (rest == QStringLiteral(".so") || rest.startsWith(QLatin1Char('-'))) return true;
    }
  }
  return false;
}

bool DesktopNamed() { return EnvironmentSet("WAYLAND_DISPLAY") || EnvironmentSet("DISPLAY"); }

std::optional<Desktop> FindDesktop() {
  const bool wayland = EnvironmentSet("WAYLAND_DISPLAY");
  const bool x11 = EnvironmentSet("DISPLAY");
  if (!wayland && !x11) return std::nullopt;
  Desktop desktop;
  if (EnvironmentSet("QT_QPA_PLATFORM")) return desktop;
  // X first: there the program places its windows and reads back where the user moved them,
  // which a Wayland client cannot. A Wayland desktop offers X through XWayland.
  if (x11 && PlatformPluginInstalled("xcb")) {
    if (auto connection = ConnectX()) {
      desktop.platform = "xcb";
      desktop.connections.push_back(std::move(connection));
    }
  }
  if (wayland && PlatformPluginInstalled("wayland")) {
    if (auto connection = ConnectWayland()) {
      desktop.platform += desktop.platform.empty() ? "wayland" : ";wayland";
      desktop.connections.push_back(std::move(connection));
    }
  }
  if (desktop.platform.empty()) return std::nullopt;
  return desktop;
}

}  // namespace morvex::display::qt
