// The FFT window: the top-level window the FFT thread draws the spectrum graph into, with its
// paint handling and its right-click popup menu. It passes key characters, its close button and
// most menu commands on to the main window, so that the main window's handlers own them.
//
// Everything here runs on the user-interface thread, except the accessors the FFT thread uses.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "analysis/fft_graph_layout.h"
#include "platform/win32.h"
#include "shared/sample_store.h"
#include "shared/settings.h"

// What the FFT view reads of the rest of the program, handed over by the main window.
struct FftViewSources {
  SettingsRecord* settings = nullptr;
  SampleStoreRecord* store = nullptr;
  const std::atomic<int32_t>* playflag = nullptr;
  const std::atomic<int32_t>* inputRunning = nullptr;
  const std::atomic<int32_t>* buff = nullptr;  // buffers handed to the wave-out device
  int32_t (*devicePosition)() = nullptr;       // bytes played since the device opened; 0 without one
  PlayPosition (*playPosition)(int32_t ahead) = nullptr;  // the frame heard `ahead` bytes before the end
};

inline constexpr const char* kFftWindowClass = "fft";

// Registers the class (once per process), creates the window at the place and size of the
// settings, makes the two screen-sized surfaces with `font` selected, shows the window with
// `showMode`, and greys its close command when `sgfftclosebuttondisable` is 1. Forwarded
// commands and keys go to `mainWindow`. The sources must stay valid while the view exists.
HWND CreateFftWindow(HWND mainWindow, HFONT font, int showMode, const FftViewSources& sources);
// Main window destruction, once no FFT thread runs: the window, its surfaces and its menu.
void DestroyFftWindow();

// Null before creation and after destruction.
HWND FftWindowHandle();
const FftViewSources* FftWindowSources();

// The client size as the window's size handler last reported it.
struct FftWindowSize {
  int32_t width;
  int32_t height;
};
FftWindowSize FftWindowClientSize();

// The back surface, where a picture is composed, and the grid surface, which holds the static
// background of the logarithmic axis; both screen-sized, with the text font.
extern std::atomic<HDC> FftBackSurface;
extern std::atomic<HDC> FftGridSurface;
// The graph's text sizes, measured on the surfaces and the window when they were created.
FftGraphMetrics FftWindowMetrics();
// The same measured on a window's context (the default font) and a surface with the text font.
FftGraphMetrics MeasureFftGraphMetrics(HDC windowDc, HDC surface);

// The title: "fft window" with the sample rate in kHz (22 for 22050 Hz, else one decimal), the
// channels and the bits of `format`.
void FormatFftWindowTitle(char* text, size_t size, const WAVEFORMATEX& format);

LRESULT CALLBACK FftWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
