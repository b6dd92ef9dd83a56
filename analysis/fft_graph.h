// The FFT graph: the spectrum of each analysis cycle drawn into the FFT window, on a linear or a
// logarithmic frequency axis, composed on a back surface over a static grid surface by one of
// three strategies that trade quality for speed, with a statistics line.
//
// Every function draws into the contexts it is given with the geometry it is given; the FFT
// thread passes the window's context and the window's two screen-sized surfaces.
#pragma once

#include <cstdint>

#include "analysis/fft_graph_layout.h"
#include "platform/win32.h"

// The grid and axis dots.
inline constexpr COLORREF kFftGridColour = RGB(191, 191, 255);

// The bin values drawn in the previous cycle, for the erase-with-lines strategy. FFT thread only.
extern int32_t PrevCurve[kFftGraphBinRoom];

enum class FftStrategy {
  Old,             // compose on the back surface over a copy of the grid; copy it all to the window
  New,             // copy the grid to the window and draw the curve on the window
  EraseWithLines,  // draw the previous curve again in white on the window, then the new one
};
// `fftdrawold` 1 is old; otherwise `fftdrawline` 1 is erase-with-lines, 0 new. (The menus never
// set both to 1; a settings file that does gets the old strategy.)
FftStrategy FftStrategyOf(int32_t fftdrawold, int32_t fftdrawline);

struct FftSurfaces {
  HDC window = nullptr;  // the FFT window's client area
  HDC back = nullptr;    // where a picture is composed
  HDC grid = nullptr;    // the logarithmic axis' static background
};

// How the logarithmic picture's curve is drawn.
struct FftCurveStyle {
  FftStrategy strategy = FftStrategy::Old;
  int32_t levelAxis = 0;     // logarithmic level axis
  int32_t light = 1;         // `fftgraphmodelight`
  int32_t onePerColumn = 1;  // one point per pixel column
  int32_t draw0Hz = 1;       // `fftgraph0hzdraw`
};

// The statistics the graph shows and keeps from cycle to cycle (FFT thread only).
struct FftStatistics {
  float timeMs = 0.0f;       // FftTimeMs: running average of the transform time
  float lastEnd = 0.0f;      // end of the last cycle, ms
  float previousEnd = 0.0f;  // end of the one before
  int32_t fps = 0;           // running average of the frame rate
  int32_t rectMs = 0;        // the linear picture's clear
  int32_t blitMs = 0;        // the last transfer to the window
};

// The play position beside the frame rate: bytes heard since the data start.
struct FftPlayPoint {
  int64_t bytes = 0;
  int32_t bytesPerSecond = 0;
  float durationSeconds = 0.0f;
};

// Linear axis, every cycle, all on the back surface: the clear (timed into rectMs), the timing
// line when `timingLine`, the layout when `relayout`, then labels every 1 kHz, dashed lines every
// 500 Hz, the axis row and the curve, one line per pixel column.
void DrawLinearPicture(HDC back, const FftGraphFrame& frame, const FftGraphMetrics& metrics, bool relayout,
                       bool timingLine, const int32_t* bins, FftGraphLayout* layout, FftStatistics* stats);

// Logarithmic axis, when the layout changes: both surfaces cleared, the layout and BinColumn,
// labels, dashed lines (not for erase-with-lines) and the axis row on the grid surface, a black
// tick in the bottom row under every bin; with erase-with-lines the grid goes to the window.
void LayoutLogPicture(const FftSurfaces& surfaces, const FftGraphFrame& frame, const FftGraphMetrics& metrics,
                      FftStrategy strategy, FftGraphLayout* layout);
// Logarithmic axis, every cycle: the background the strategy asks for, then the curve of bins
// 0 ... B−1 (N is the transform size the values belong to).
void DrawLogPicture(const FftSurfaces& surfaces, const FftGraphLayout& layout, const FftCurveStyle& style,
                    int32_t fullScale, int32_t n, const int32_t* bins);

// The statistics line, on the back surface. Mode 1 (unless off): the running frame rate, and the
// play position at (50, 0) when one is given. Mode 0: interval, transform time and `latencyMs`.
void WriteFftStatistics(HDC back, int32_t mode, int32_t off, int32_t latencyMs, const FftPlayPoint* position,
                        FftStatistics* stats);

// The transfer to the window, timed into blitMs: the whole W × H picture when `wholePicture`,
// otherwise (unless statistics are off) only the statistics area, 40 × 20 or, when `wide`,
// 280 × 20 pixels.
void TransferFftPicture(const FftSurfaces& surfaces, int32_t width, int32_t height, bool wholePicture, int32_t off,
                        int32_t wide, FftStatistics* stats);
