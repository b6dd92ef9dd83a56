// Whether this session has a desktop the Qt display can open, found before Qt is started:
// Qt ends the process when its platform plugin cannot connect, and without a desktop the
// program must go on with the in-memory display instead.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace morvex::display::qt {

// A connection made to see whether a display server answers. It is held until Qt has made its
// own: a server with no other client (a bare virtual X server) resets itself when its last
// client leaves, and refuses connections for that moment.
class ProbeConnection {
 public:
  ProbeConnection(void* library, void* connection, void (*disconnect)(void*))
      : library_(library), connection_(connection), disconnect_(disconnect) {}
  ~ProbeConnection();
  ProbeConnection(const ProbeConnection&) = delete;
  ProbeConnection& operator=(const ProbeConnection&) = delete;

 private:
  void* library_;
  void* connection_;
  void (*disconnect_)(void*);
};

struct Desktop {
  // Qt's platform plugin list; empty to leave the choice to Qt and QT_QPA_PLATFORM.
  std::string platform;
  std::vector<std::unique_ptr<ProbeConnection>> connections;
};

// Whether the session names a desktop: DISPLAY or WAYLAND_DISPLAY is set.
bool DesktopNamed();

// The desktop to start Qt with, or empty when there is none that answers. A desktop needs
// DISPLAY or WAYLAND_DISPLAY. When QT_QPA_PLATFORM is set, Qt's own choice is trusted.
// Otherwise each display server named is connected to, and only those that answer and have
// their Qt plugin installed are listed, X first.
std::optional<Desktop> FindDesktop();

// Whether Qt's platform plugin of that name ("xcb", "offscreen", "wayland" ...) is installed.
bool PlatformPluginInstalled(const std::string& name);

}  // namespace morvex::display::qt
