// The spectrogram's two screen-sized surfaces, made by the main window after the view windows:
// the back buffer, whose top-left W by H area is the picture, and the scale layer, which holds the
// tick and FFT-point marks stamped onto the picture's left edge. Both have the text font.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"

// Metrics of the text font, measured on the back buffer when it is made.
struct SgTextMetrics {
  int32_t charHeight = 0;  // tmHeight
  int32_t lineHeight = 0;  // tmHeight + tmExternalLeading
  int32_t charWidth = 0;   // tmAveCharWidth
};

extern std::atomic<HDC> SgBackSurface;
extern std::atomic<HDC> SgScaleSurface;

// Makes both surfaces compatible with `window`, white, with `font` selected (none keeps the
// default font), and remembers the font for the thread's window context.
void CreateSgSurfaces(HWND window, HFONT font);
// Main window destruction, once no spectrogram thread runs.
void DestroySgSurfaces();

SgTextMetrics SgSurfaceMetrics();
// The metrics of the font selected in `dc`.
SgTextMetrics MeasureSgTextMetrics(HDC dc);
HFONT SgTextFont();
