// Where the FFT graph puts things: the level scale, the baseline and the positions on the linear
// and logarithmic frequency axes. Recomputed only when the layout changes.
//
// Conversions to pixels truncate toward zero as the x86 conversion does: a value out of the
// 32-bit range (the 0 Hz bin on the logarithmic axis, log 0 = −∞) becomes the most negative
// integer, far off the left edge, where drawing clips it.
#pragma once

#include <cstdint>

#include "shared/shared_spectrum.h"

// Bins drawn: the lower half of the largest transform.
inline constexpr int32_t kFftGraphBinRoom = kSpectrumRoom / 2;

// The pixel column of each bin on the logarithmic axis (B entries). FFT thread only.
extern int32_t BinColumn[kFftGraphBinRoom];

// Where the curve puts bin k: its column, except that the 0 Hz bin, whose column lies at −∞,
// is drawn at the left edge, so that the curve starts there at the level of the 0 Hz bin.
inline int32_t CurveColumn(int32_t k) { return BinColumn[k] == INT32_MIN ? 0 : BinColumn[k]; }

// Text sizes the graph is laid out with.
struct FftGraphMetrics {
  int32_t lineHeight = 0;         // Lh: the graph font's height plus external leading
  int32_t defaultLineHeight = 0;  // Ls: the same for the default font
  int32_t charWidth = 0;          // cw: the graph font's average character width
};

// What one picture shows.
struct FftGraphFrame {
  int32_t width = 0;      // W: the window's client width
  int32_t height = 0;     // H
  int32_t n = 0;          // transform size N
  int32_t m = 0;          // block length M
  int32_t rate = 0;       // analysis rate R
  int32_t fullScale = 0;  // 2 to the bits per sample
  int32_t magnified = 1;  // `fftgraphmagnified`
};

struct FftGraphLayout {
  int32_t width = 0;     // the W × H the layout was made for
  int32_t height = 0;
  int32_t fs = 0;        // FS: the bin value drawn at the full height
  float vpp = 0.0f;      // bin value per pixel of height
  int32_t baseline = 0;  // row of the frequency axis; its labels are written below it
  // Linear axis.
  float binsPerPx = 0.0f;
  float pxPerHz = 0.0f;
  // Logarithmic axis: 1 Hz at column 0, the Nyquist frequency at column W.
  float nyq = 0.0f;      // R / 2
  float logNyq = 0.0f;   // L = log10(nyq)
  float xs = 0.0f;       // columns per decade for frequencies
  float xw = 0.0f;       // columns per decade for bins
  float binFrac = 0.0f;  // one bin as a fraction of nyq
  int32_t bins = 0;      // B = N / 2, the bins drawn
};

// W, H, FS and vpp: FS = fullScale · M / magnification, spread over the height above the
// baseline less one default line. A window too low for that still gets one pixel.
void LayoutLevelScale(const FftGraphFrame& frame, const FftGraphMetrics& metrics, FftGraphLayout* layout);
// The level scale, the baseline and the linear axis' scales.
void LayoutLinearAxis(const FftGraphFrame& frame, const FftGraphMetrics& metrics, FftGraphLayout* layout);
// The level scale, the baseline and the logarithmic axis' scales, and BinColumn for bins
// 0 ... B−1.
void LayoutLogAxis(const FftGraphFrame& frame, const FftGraphMetrics& metrics, FftGraphLayout* layout);

// Columns of a frequency on each axis, moved `shift` pixels to the left before the truncation
// (half a label's width, to centre it).
int32_t LinearAxisX(const FftGraphLayout& layout, int32_t hz, int32_t shift = 0);
int32_t LogAxisX(const FftGraphLayout& layout, int32_t hz, int32_t shift = 0);

// The row of a bin value v: v / vpp pixels above the baseline.
int32_t CurveRow(const FftGraphLayout& layout, int32_t value);
// The integer value step of the one-point-per-column walk, trunc(vpp); at least 1, so that a
// scale finer than one value per pixel does not divide by zero.
int32_t CurveStep(const FftGraphLayout& layout);
// The row of a bin value on the logarithmic level axis: one pixel per dB below fullScale · N,
// measured down from the top edge; the baseline for 0.
int32_t LevelAxisRow(int32_t value, int32_t fullScale, int32_t n, int32_t baseline);
