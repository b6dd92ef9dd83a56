#include "analysis/fft_graph_axis.h"

#include <algorithm>
#include <cstdio>

#include "analysis/fft_graph.h"

namespace {
constexpr int32_t kDashPeriod = 8;
constexpr int32_t kDashLength = 4;
}  // namespace

void ClearFftSurface(HDC dc, int32_t width, int32_t height) { Rectangle(dc, -1, -1, width + 1, height + 1); }

void DrawDashedLine(HDC dc, int32_t x, int32_t baseline) {
  for (int32_t y0 = 0; y0 < baseline; y0 += kDashPeriod) {
    for (int32_t y = y0; y < y0 + kDashLength; ++y) SetPixel(dc, x, y, kFftGridColour);
  }
}

void DrawAxisRow(HDC dc, int32_t width, int32_t baseline) {
  for (int32_t x = 0; x < width; ++x) SetPixel(dc, x, baseline, kFftGridColour);
}

FftAxisLabel MakeAxisLabel(int32_t hz, bool kilo, const FftGraphMetrics& metrics) {
  FftAxisLabel label{};
  const int written = std::snprintf(label.text, sizeof label.text, kilo ? "%dk" : "%d", kilo ? hz / 1000 : hz);
  label.length = std::clamp(written, 0, static_cast<int>(sizeof label.text) - 1);
  label.halfWidth = label.length * metrics.charWidth / 2;
  return label;
}

void WriteAxisLabel(HDC dc, const FftAxisLabel& label, int32_t x, int32_t y) {
  TextOutA(dc, x, y, label.text, label.length);
}
