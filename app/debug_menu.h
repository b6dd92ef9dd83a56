// "menu for debug": every command of the program, hung on the main window's system menu after a
// separator, with its check marks set from the settings.
#pragma once

#include "platform/win32.h"

// Start-up, once the main window exists: builds the menu, hangs it on `mainWindow`'s system menu
// and sets its marks (radio groups, pairs and triples, toggles) from the settings.
void BuildDebugMenu(HWND mainWindow);
