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

// A display server's client library, loaded only to see whether the server answers, so that
// the program does not depend on it.
class ClientLibrary {
 public:
  explicit ClientLibrary(const char* name) : handle_(dlopen(name, RTLD_NOW | RTLD_LOCAL)) {}
  ~ClientLibrary() {
    if (handle_) dlclose(handle_);
  }
  ClientLibrary(const ClientLibrary&) = delete;
  ClientLibrary& operator=(const ClientLibrary&) = delete;

  template <typename Function>
  Function find(const char* symbol) const {
    return handle_ ? reinterpret_cast<Function>(dlsym(handle_, symbol)) : nullptr;
  }

 private:
  void* handle_;
};

bool XServerAnswers() {
  const ClientLibrary xcb("libxcb.so.1");
  auto connect = xcb.find<void* (*)(const char*, int*)>("xcb_connect");
  auto hasError = xcb.find<int (*)(void*)>("xcb_connection_has_error");
  auto disconnect = xcb.find<void (*)(void*)>("xcb_disconnect");
  if (!connect || !hasError || !disconnect) return false;
  // xcb_connect always returns a connection object; its error state tells the outcome.
  void* connection = connect(nullptr, nullptr);
  const bool answers = hasError(connection) == 0;
  disconnect(connection);
  return answers;
}

bool WaylandServerAnswers() {
  const ClientLibrary wayland("libwayland-client.so.0");
  auto connect = wayland.find<void* (*)(const char*)>("wl_display_connect");
  auto disconnect = wayland.find<void (*)(void*)>("wl_display_disconnect");
  if (!connect || !disconnect) return false;
  void* display = connect(nullptr);
  if (!display) return false;
  disconnect(display);
  return true;
}

}  // namespace

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

std::optional<std::string> DesktopPlatform() {
  const bool wayland = EnvironmentSet("WAYLAND_DISPLAY");
  const bool x11 = EnvironmentSet("DISPLAY");
  if (!wayland && !x11) return std::nullopt;
  if (EnvironmentSet("QT_QPA_PLATFORM")) return std::string();
  std::string platforms;
  if (wayland && PlatformPluginInstalled("wayland") && WaylandServerAnswers()) platforms = "wayland";
  if (x11 && PlatformPluginInstalled("xcb") && XServerAnswers()) {
    platforms += platforms.empty() ? "xcb" : ";xcb";
  }
  if (platforms.empty()) return std::nullopt;
  return platforms;
}

}  // namespace morvex::display::qt
