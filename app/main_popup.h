// The main window's right-click popup: transport, speed and pitch modes, the playback rate, the
// view windows, the status display, the level meter type, a "debug" submenu and the exit.
#pragma once

#include "platform/win32.h"

// Main window creation, first thing: builds MainPopup.
void BuildMainPopup();
// Right button release at a client point: sets the marks from the current state and shows the
// popup there; a choice arrives as WM_COMMAND.
void ShowMainPopup(HWND mainWindow, int x, int y);
// The marks the popup shows, as of now (what ShowMainPopup does before showing it).
void RefreshMainPopup();
