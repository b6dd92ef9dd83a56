// Drawing pieces the linear and logarithmic pictures share.
#pragma once

#include <cstdint>

#include "analysis/fft_graph_layout.h"
#include "platform/win32.h"

// White over the whole W × H area; the black outline falls just outside it.
void ClearFftSurface(HDC dc, int32_t width, int32_t height);
// A dashed vertical line: the four pixels y0 ... y0+3 for y0 = 0, 8, 16 ... while y0 < baseline.
void DrawDashedLine(HDC dc, int32_t x, int32_t baseline);
// The frequency axis: the baseline row from column 0 to W−1.
void DrawAxisRow(HDC dc, int32_t width, int32_t baseline);

// A frequency label ("%d" Hz, or "%dk" for whole kHz when `kilo`), and the pixels half its
// width takes (length · cw / 2), by which it is moved left to centre it.
struct FftAxisLabel {
  char text[16];
  int32_t length;
  int32_t halfWidth;
};
FftAxisLabel MakeAxisLabel(int32_t hz, bool kilo, const FftGraphMetrics& metrics);
void WriteAxisLabel(HDC dc, const FftAxisLabel& label, int32_t x, int32_t y);
