// The spectrogram's frequency axis: where each frequency and each FFT bin lies, logarithmic
// (1 Hz at the bottom row to the Nyquist frequency at the top) or linear. Row 0 is the bottom of
// the picture; row r is drawn at y = H - r.
#pragma once

#include <atomic>
#include <cstdint>

#include "shared/shared_spectrum.h"

// The most bins a column reads: half the largest transform.
inline constexpr int32_t kSgMaxBins = kSpectrumRoom / 2;

// Recomputed at every clear. Floating values are stored as 32-bit floats; the formulas that use
// them work in double precision from the stored values.
struct SgGeometryRecord {
  int32_t height = 0;            // H the axis was laid out for
  float binHz = 0.0f;            // rate / fftsample
  float nyquist = 0.0f;          // rate / 2
  float logNyquist = 0.0f;       // log10(nyquist)
  float linearHzPerRow = 0.0f;   // (rate / 2) / H
  float axisScale = 0.0f;        // rows per decade, for frequencies
  float binAxisScale = 0.0f;     // rows per decade, for bins
  float binStep = 0.0f;          // binHz / nyquist
  int32_t binCount = 0;          // fftsample / 2, at most kSgMaxBins
  int32_t binRow[kSgMaxBins]{};  // row of bin i on the logarithmic axis; bin 0 at row 0
};

// The axis for `rate`, `fftsample` and the client height. A height of 0 or a rate too low for a
// logarithmic axis (Nyquist frequency of 1 Hz or less) puts everything on row 0, without dividing
// by zero. binRow is filled for the logarithmic axis.
void ComputeSgGeometry(SgGeometryRecord* geometry, int32_t rate, int32_t fftsample, int32_t height);

// trunc(x) toward zero, held within int32 (NaN gives 0).
int32_t TruncRow(double x);

// The unrounded logarithmic row of frequency f, and its row.
double LogRowExact(const SgGeometryRecord& geometry, double f);
inline int32_t LogRow(const SgGeometryRecord& geometry, double f) { return TruncRow(LogRowExact(geometry, f)); }
// The linear row of whole frequency f: trunc(f * H / nyquist) with the integer product f * H.
double LinearRowExact(const SgGeometryRecord& geometry, int32_t f);
inline int32_t LinearRow(const SgGeometryRecord& geometry, int32_t f) { return TruncRow(LinearRowExact(geometry, f)); }
// The bin linear row r (1 .. H) shows: (r * binCount) / H.
int32_t LinearBinOfRow(const SgGeometryRecord& geometry, int32_t row);

// The axis ends of the last clear, for the window's own cursor readout on the user-interface
// thread while nothing plays.
extern std::atomic<float> SgAxisNyquist;
extern std::atomic<float> SgAxisLogNyquist;
void PublishSgAxis(const SgGeometryRecord& geometry);
