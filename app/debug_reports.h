// The main popup's "debug" submenu: message boxes with thread ids, error state, the level meter
// thread's timing, transport flags, the settings path, window sizes, the spectrum's peak and the
// platform version; the breakpoint; the window-table rebuild.
#pragma once

#include "platform/win32.h"

// Carries out one of the submenu's commands (98, 99, 100, 117, 119, 122, 126, 157, 164, 166);
// false for any other id.
bool OnDebugReportCommand(UINT id);
