// The main window's menus as the commands see them: the system menu with the debug menu hung on
// it, the right-click popup, whether one of them is open, and the radio groups whose check mark
// moves from item to item.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"

// The main window's system menu; every check mark of the debug menu is set through it (a mark is
// found by command id in its submenus). Null until the debug menu is built.
extern HMENU SystemMenu;
// "menu for debug", hung on the system menu.
extern HMENU DebugMenu;
// The right-click popup (the only submenu of a "morvexmenu dummy" wrapper).
extern HMENU MainPopup;
// 1 while a menu of the main window is open: keys then only close the program ("x").
extern std::atomic<int32_t> MenuOpen;

// Checks or clears one item of `menu`, found by command id.
void SetMark(HMENU menu, UINT id, bool checked);
// Greys or enables one item of `menu`, found by command id.
void SetGrey(HMENU menu, UINT id, bool grey);

// The groups of items of which one carries the check mark, each remembering its checked item.
enum class Radio : int32_t {
  WindowFunction,    // 1 to 10, `wfkind` (the letter's character code)
  FftPause,          // 87, 13, 109, 14 to 18, 20: `fftwindowsleeptime`
  FftLength,         // 28 to 30, 21 to 26, 121: the requested `fftsample`
  FftMagnification,  // 31 to 34, 41, 42: `fftgraphmagnified`
  FftPriority,       // 35 to 37: the FFT thread's priority step
  SgMagnification,   // 43 to 45, 88, 124, 125, 46, 75, 47, 58, 48, 50: `sggraphmagnified`
  VsSamples,         // 66 to 72: `vecscpsample`
  WavPause,          // 77 to 81: `wavwindowsleeptime`
};

struct RadioItem {
  UINT id;
  int32_t value;
};

// The item `id` of any group, and its group; null when no group has it.
const RadioItem* FindRadioItem(UINT id, Radio* group);
// Moves the group's mark in the system menu: clears the remembered item, checks `id` and
// remembers it.
void ChooseRadioItem(Radio group, UINT id);
// Checks the first item of the group that carries `value` and remembers it; a value that no
// item carries leaves the group as it is.
void MarkRadioValue(Radio group, int32_t value);
// The remembered ids as a new debug menu starts with them: none, except 80 for the waveform pause.
void ForgetRadioMarks();
