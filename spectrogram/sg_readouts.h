// The lines the spectrogram thread writes straight into the window once per column, over the
// picture: columns per second, the frequency under the mouse cursor, the underline along the
// bottom edge, and the strongest frequency. They are not part of the picture: the next copy of
// the back buffer overwrites them and they are written again after it.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "spectrogram/sg_geometry.h"
#include "spectrogram/sg_surfaces.h"

// Measures the performance counter's ticks per millisecond; first thing at every thread start.
void StartReadoutClock();

// What one column's readouts need.
struct SgReadoutFrame {
  HDC window = nullptr;  // with the text font and the text colours of the last clear
  int32_t width = 0;
  int32_t height = 0;
  SgTextMetrics metrics;
  int32_t column = 0;
  const SgGeometryRecord* geometry = nullptr;
  const int32_t* bins = nullptr;  // bins 0 .. fftsample / 2 - 1 at least
  int32_t rate = 0;               // the analysis rate
  int32_t fftsample = 0;
};

// The four readouts in order, each only when its setting is on: " lps%3d" (`sgwindowlps`), the
// cursor frequency (`sgmousecurhzdis`), the underline line (`sgunderline` with one of those two),
// "peak%5dhz(%s)" (`sgpeakshow`).
void WriteReadouts(const SgReadoutFrame& frame);

// The column rate shown: 1000 / the smoothed interval between columns in ms, 0 for an interval
// of 0. The interval takes half of each new one: trunc(interval + delta) >> 1.
int32_t SmoothColumnInterval(int32_t smoothedInterval, float delta);
int32_t ColumnsPerSecond(int32_t smoothedInterval);

// The bin of the largest magnitude among bins[0 .. count - 1], the lowest of equal ones.
int32_t PeakBin(const int32_t* bins, int32_t count);
