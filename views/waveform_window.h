// The waveform window ("wav window", class "wav"), made for every source: its size state, its
// right-click popup, and the switch that shows it with a running thread or hides it. Its close
// button, key characters and popup commands go to the main window, whose handlers own them.
//
// Everything here runs on the user-interface thread except the reads of the state and the
// accessors, which the waveform thread uses.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"

inline constexpr const char* kWaveformClass = "wav";
// The main window's command that shows and hides the view; the close button posts it.
inline constexpr UINT kWaveformCommand = 76;
// Popup commands passed on as system commands: the pauses (77 to 81) and the squeezed frame (82).
inline constexpr UINT kWavFirstPauseCommand = 77;
inline constexpr UINT kWavSqueezeCommand = 82;

// The client size the size handler last stored.
extern std::atomic<int32_t> WavClientWidth;
extern std::atomic<int32_t> WavClientHeight;
// Set by the size handler (and by the thread when it starts): the thread recomputes its scales.
extern std::atomic<int32_t> WavParamsChanged;
// Set by the size handler: the thread makes a bitmap of the new size (dynamic surfaces only).
extern std::atomic<int32_t> WavResized;

// Main window creation: the window at the settings' place and size, its off-screen surface
// (screen-sized when `virtualscreendynamicmemaloc` is 0), shown unless `wavwindowstop` is 1.
// Commands and keys go to `mainWindow`.
HWND CreateWaveformWindow(HWND mainWindow);
// Main window destruction, once no waveform thread runs.
void DestroyWaveformWindow();

// Null without the window.
HWND WaveformWindowHandle();
// The right-click popup (null without the window); only its check marks change.
HMENU WaveformPopup();
struct ViewSurface;
ViewSurface& WaveformSurfaceRecord();

// Command 76's work besides its check mark: on, `wavwindowstop` 0, a new thread, the window
// shown; off, `wavwindowstop` 1 (the thread ends by itself) and the window hidden.
void SwitchWaveformView(bool on);

LRESULT CALLBACK WaveformWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
