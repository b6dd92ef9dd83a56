// The process's one QApplication. It is created on the user-interface thread the first time the
// Qt display needs it and lives until the process ends, because Qt allows only one per process
// and tests install and remove displays freely.
#pragma once

#include <string>

namespace morvex::display::qt {

// Starts the application when it does not run yet, with the given platform plugin list
// ("xcb", "xcb;wayland", "offscreen" ...; empty leaves the choice to Qt and QT_QPA_PLATFORM).
// A platform given for a later start is ignored: the first one stays. Numbers keep the C
// locale's format afterwards; the rest of the C library follows the user's locale, as Qt sets it.
void StartApplication(const std::string& platform);

// Whether the application runs and the calling thread is its user-interface thread.
bool OnApplicationThread();

}  // namespace morvex::display::qt
