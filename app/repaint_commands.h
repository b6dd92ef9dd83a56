// Commands that reach the main window's own status display through its keys: the slow repaint
// (item 116 of both menus) and the full display (item 120).
#pragma once

#include "platform/win32.h"

// Repaints every 1000 ms instead of every 10 ms, or back; the marks of 116 show the slow one.
void ToggleSlowRepaint(HWND mainWindow);
