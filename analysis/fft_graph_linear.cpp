// The linear frequency axis: redrawn whole every cycle on the back surface.
#include <cstdio>

#include "analysis/fft_arith.h"
#include "analysis/fft_graph.h"
#include "analysis/fft_graph_axis.h"

namespace {
constexpr int32_t kLabelStepHz = 1000;
constexpr int32_t kGridStepHz = 500;
}  // namespace

void DrawLinearPicture(HDC back, const FftGraphFrame& frame, const FftGraphMetrics& metrics, bool relayout,
                       bool timingLine, const int32_t* bins, FftGraphLayout* layout, FftStatistics* stats) {
  const DWORD clearStart = timeGetTime();
  ClearFftSurface(back, frame.width, frame.height);
  stats->rectMs = static_cast<int32_t>(timeGetTime() - clearStart);
  if (timingLine) {
    char text[64];
    const int length = std::snprintf(text, sizeof text, "rect:%d postbitblt%d", stats->rectMs, stats->blitMs);
    TextOutA(back, 0, metrics.lineHeight, text, length);
  }
  if (relayout) LayoutLinearAxis(frame, metrics, layout);

  const int32_t baseline = layout->baseline;
  const int32_t nyquist = frame.rate / 2;
  for (int32_t hz = kLabelStepHz; hz < nyquist; hz += kLabelStepHz) {
    const FftAxisLabel label = MakeAxisLabel(hz, true, metrics);
    WriteAxisLabel(back, label, LinearAxisX(*layout, hz, label.halfWidth), baseline);
  }
  for (int32_t hz = kGridStepHz; hz < nyquist; hz += kGridStepHz) DrawDashedLine(back, LinearAxisX(*layout, hz), baseline);
  DrawAxisRow(back, frame.width, baseline);

  // One line per pixel column, to the bin the column starts at. A scale that never advances
  // (no layout yet) draws no curve rather than loop for ever.
  MoveToEx(back, 0, baseline, nullptr);
  if (!(layout->binsPerPx > 0.0f)) return;
  const int32_t half = frame.n / 2;
  float p = 0.0f;
  for (int32_t x = 0; p < static_cast<float>(half); ++x) {
    LineTo(back, x, CurveRow(*layout, bins[TruncToInt32(p)]));
    p = p + layout->binsPerPx;
  }
}
