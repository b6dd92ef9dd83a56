// The spectrogram window ("sg window"): the top-level window the spectrogram thread draws into.
// It records its client size and the mouse position for the thread, copies the picture to the
// screen and shows the cursor frequency while nothing plays, and offers the spectrogram's popup
// menu. Keys, most commands and its close button go to the main window; closing only hides it.
#pragma once

#include "platform/win32.h"

inline constexpr const char* kSgWindowClass = "sg";

// Registers the class "sg" (once per process; a class that cannot be registered even on a second
// try ends the program), creates the window at the place and size of the settings, shows it with
// `showMode` (the start-up show mode) and greys its close command when `sgfftclosebuttondisable` is 1.
// Forwarded commands and keys go to `mainWindow`.
HWND CreateSgWindow(HWND mainWindow, int showMode);
// Main window destruction, once no spectrogram thread runs: the window, its font and its menu.
void DestroySgWindow();

// Null before creation and after destruction.
HWND SgWindowHandle();
// The right-click menu (SgPopupMenu); null before creation.
HMENU SgPopupMenu();

LRESULT CALLBACK SgWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
