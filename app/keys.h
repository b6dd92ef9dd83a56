// The main window's character keys: the single-key shortcuts, and the program's internal command
// path (the menus and timer 2 post characters with ShortcutMarker as key data, so that play,
// pause, stop and the jumps run through this one handler whoever asked for them).
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"

// Key e: 0 normal so far, 1 after the high priority class was set.
extern std::atomic<int32_t> HighPriorityMode;
// Key k: 1 while the main window is hidden.
extern std::atomic<int32_t> MainWindowHidden;

// WM_CHAR of the main window (and of every view window, which passes its characters on).
void OnMainCharacter(HWND mainWindow, WPARAM character, LPARAM keyData);
