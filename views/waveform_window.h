// The waveform window ("wav window", class "wav"), made for every source: its size state and its
// right-click popup (the pauses and "fftを計算してる範囲に縮小"). Its close button, key
// characters and popup commands go to the main window, whose handlers own them.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"
#include "views/view_window.h"

// The main window's command that shows and hides the view; the close button posts it.
inline constexpr UINT kWaveformCommand = 76;

// The client size the size handler last stored.
extern std::atomic<int32_t> WavClientWidth;
extern std::atomic<int32_t> WavClientHeight;
// Set by the size handler (and by the thread when it starts): the thread recomputes its scales.
extern std::atomic<int32_t> WavParamsChanged;
// Set by the size handler: the thread makes a bitmap of the new size (dynamic surfaces only).
extern std::atomic<int32_t> WavResized;

// The window, its surface and popup.
extern ViewWindowRecord WaveformView;

// Main window creation: the window at the settings' place and size, shown unless
// `wavwindowstop` is 1. Commands and keys go to `mainWindow`.
HWND CreateWaveformWindow(HWND mainWindow);
// Main window destruction, once no waveform thread runs.
void DestroyWaveformWindow();
// Null without the window.
HWND WaveformWindowHandle();
// Command 76's work besides its check mark (see SwitchViewWindow).
void SwitchWaveformView(bool on);

LRESULT CALLBACK WaveformWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
