// The spectrogram window's right-click menu: its items, its check marks, and what each command
// does. Six display switches that only the spectrogram thread reads act here; every other item
// is passed on to the main window, whose handlers carry it out as its own menu command.
#pragma once

#include <cstdint>

#include "platform/win32.h"

// Builds the popup as the only submenu ("sg menu dummy") of a menu that is never shown, so that it
// can be tracked as a popup. Returns that outer menu; *popup is the submenu.
HMENU BuildSgPopup(HMENU* popup);

// Sets the check marks from the settings, the thread's stop flag and its priority level. The
// magnification mark moves only to a value an item carries; *checkedMagnification is the id that
// carries it (0: none yet).
void MarkSgPopup(HMENU popup, int32_t* checkedMagnification);

// A WM_COMMAND of the spectrogram window: a local switch toggles its setting, one of the menu's
// other ids is posted to `mainWindow` as WM_SYSCOMMAND with the same id and `lParam`. Any other
// id is ignored.
void OnSgCommand(HWND mainWindow, WPARAM wParam, LPARAM lParam);
