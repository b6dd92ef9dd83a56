// `FftPopup`: the FFT window's right-click menu with every setting of the FFT view, its check
// marks, and what each command does. Most commands are passed on to the main window, whose
// handlers carry them out for this menu and the main menus alike; a few act here.
#pragma once

#include "platform/win32.h"
#include "shared/sample_store.h"
#include "shared/settings.h"

// The popup, built once when the window is created; only its check marks change.
extern HMENU FftPopup;

// Builds the popup as the only submenu of a menu bar that is never shown ("fftmenu dummy"), so
// that it can be tracked as a popup. Returns the bar; FftPopup is its submenu.
HMENU BuildFftPopup();

// Sets every check mark of `popup` from the current state: the settings (with the transform size
// and radix in force), the FFT graph's switches, the sleep and priority of the FFT thread.
void MarkFftPopup(HMENU popup, const SettingsRecord& settings);

// A WM_COMMAND of the FFT window. Forwarded commands are posted to `mainWindow` (as
// WM_SYSCOMMAND with the same id and lParam, a few as WM_COMMAND, WM_CHAR or the close command);
// local ones change `settings` and `store` here. False for ids that get default processing.
bool OnFftCommand(HWND mainWindow, SettingsRecord& settings, SampleStoreRecord& store, WPARAM wParam, LPARAM lParam);
