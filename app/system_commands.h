// The main window's system commands 1 to 125: the debug menu's items, and the commands the view
// windows and the main popup pass on with the same id. Each changes a setting or a run-time flag
// and keeps the debug menu's check marks in step.
#pragma once

#include "platform/win32.h"

// Carries out command `id`; false for an id without an entry (the default handling takes it).
bool OnSystemCommand(HWND mainWindow, WPARAM id);
