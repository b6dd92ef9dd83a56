// Whether this session has a desktop the Qt display can open, found before Qt is started:
// Qt ends the process when its platform plugin cannot connect, and without a desktop the
// program must go on with the in-memory display instead.
#pragma once

#include <optional>
#include <string>

namespace morvex::display::qt {

// Whether the session names a desktop: DISPLAY or WAYLAND_DISPLAY is set.
bool DesktopNamed();

// The platform plugin list to start Qt with, or empty when there is no usable desktop.
// A desktop needs DISPLAY or WAYLAND_DISPLAY. When QT_QPA_PLATFORM is set, Qt's own choice is
// trusted (the result is then the empty string). Otherwise each display server named is
// connected to once, and only those that answer and have their plugin installed are listed,
// Wayland first.
std::optional<std::string> DesktopPlatform();

// Whether Qt's platform plugin of that name ("xcb", "offscreen", "wayland" ...) is installed.
bool PlatformPluginInstalled(const std::string& name);

}  // namespace morvex::display::qt
