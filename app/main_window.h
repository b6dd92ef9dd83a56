// The main window: its class, and its message handling, which creation, the transport, the
// status display and shutdown hang on.
#pragma once

#include "platform/win32.h"

bool RegisterMainWindowClass(HINSTANCE instance);
// Start-up after the settings are read and the class is registered: the main window created
// where the settings place it (which opens the source and starts playing), its debug menu hung
// on, and shown with `showCmd`. Null when it cannot be created.
HWND OpenMainWindow(HINSTANCE instance, int showCmd);
LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
