// The main window's WM_COMMAND: the right-click popup's items, and command 165 that the FFT
// window's popup posts. Items that the debug menu also has are passed on as system commands.
#pragma once

#include "platform/win32.h"

// Carries out command `id`; false for an id without an entry.
bool OnPopupCommand(HWND mainWindow, UINT id);
