// The main window: its class, and its message handling, which creation, the transport, the
// status display and shutdown hang on.
#pragma once

#include "platform/win32.h"

bool RegisterMainWindowClass(HINSTANCE instance);
LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
