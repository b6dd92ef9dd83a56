// SIGINT and SIGTERM ask the main window to close, the same way its close button does, so the
// settings are written; a second signal ends the process at once. Before the main window has
// been created (a start-up that blocks, such as opening a FIFO nobody writes) there is nothing
// to save and nobody to take the request: the first signal ends the process at once.
#pragma once

namespace morvex::kernel {

// Call before any other thread starts: the signals are then blocked in every thread and taken
// by one watcher thread.
void CloseMainWindowOnSignals();

}  // namespace morvex::kernel
