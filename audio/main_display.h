// The main window's status display: the text font, the screen-sized off-screen surface, the
// status lines and their repaint.
//
// The display draws into the off-screen surface and copies it to the window in the paint; the
// level meter thread draws into the same surface and into the window from its own thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"
#include "shared/settings.h"

// 0 until the wave-out device first reports itself open, 1 from then on: the position block of
// the status display is drawn only while it is 1.
extern std::atomic<int32_t> statusEnabled;
// 1 (the default): the status lines are drawn (key q).
extern std::atomic<int32_t> statusText;

// The text font: 80 % of the default font's height. Selected into the off-screen surfaces of the
// main window and of the view windows.
extern std::atomic<HFONT> TextFont;
// Line heights (tmHeight + tmExternalLeading) of the default font and of the text font.
extern std::atomic<int32_t> DefaultLineHeight;
extern std::atomic<int32_t> TextLineHeight;

// Main window creation, before the file is opened: the text font and the off-screen surface,
// cleared to white. The display reads `settings` while it runs and writes `playfreqoptional`
// back into it on every resize.
void CreateMainDisplay(HWND mainWindow, SettingsRecord& settings);
// Main window destruction: releases the surface and the font, once the level meter thread that
// draws into the surface has ended.
void DestroyMainDisplay();

// What the display was created with; null before creation and after destruction.
HWND MainDisplayWindow();
HDC MainOffscreen();
const SettingsRecord* MainDisplaySettings();

// Clears the off-screen picture to white (key 2).
void ClearMainOffscreen();

struct ClientSize {
  int32_t width;
  int32_t height;
};
// The client size the last resize reported.
ClientSize MainClientSize();

// WM_SIZE: stores the client size, greys the vectorscope command (65) in the system menu of a
// one-channel source, and sets `playfreqoptional` back to the file's own rate.
void OnSize(int32_t width, int32_t height);

// WM_PAINT: the status lines at the device's current position.
void OnPaint();
// The same with a given device position (bytes played since the device opened).
void PaintStatus(DWORD devicePosition);

// Timer 1: while a source runs, repaint the whole client area without erasing; otherwise stop
// the timer.
void OnStatusTimer();
