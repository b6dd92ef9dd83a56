// The logarithmic frequency axis: a grid surface drawn when the layout changes, and a curve each
// cycle over a copy of it, by the chosen strategy.
#include <algorithm>

#include "analysis/fft_arith.h"
#include "analysis/fft_graph.h"
#include "analysis/fft_graph_axis.h"

int32_t PrevCurve[kFftGraphBinRoom];

namespace {

constexpr COLORREF kTickColour = RGB(0, 0, 0);
constexpr int32_t kLastDecadeLabelHz = 10000;
constexpr int32_t kHighLabelStepHz = 10000;

// Labels 10, 100, 1k, 10k below the Nyquist frequency, then 20k, 30k ... below it.
void WriteLogLabels(HDC grid, const FftGraphLayout& layout, const FftGraphMetrics& metrics) {
  auto write = [&](int32_t hz) {
    const FftAxisLabel label = MakeAxisLabel(hz, hz > 100, metrics);
    WriteAxisLabel(grid, label, LogAxisX(layout, hz, label.halfWidth), layout.baseline);
  };
  for (int32_t hz = 10; static_cast<float>(hz) < layout.nyq && hz <= kLastDecadeLabelHz; hz *= 10) write(hz);
  for (int32_t hz = 2 * kHighLabelStepHz; static_cast<float>(hz) < layout.nyq; hz += kHighLabelStepHz) write(hz);
}

// Dashed lines at 10, 20 ... 100, 100, 200 ... 1000, 1000, 2000 ... 10000 and 10000, 20000 ...,
// the last two decades below the Nyquist frequency, and the axis row.
void DrawLogGrid(HDC grid, const FftGraphLayout& layout, int32_t width) {
  const auto below = [&](int32_t hz) { return static_cast<float>(hz) < layout.nyq; };
  for (int32_t hz = 10; hz <= 100; hz += 10) DrawDashedLine(grid, LogAxisX(layout, hz), layout.baseline);
  for (int32_t hz = 100; hz <= 1000; hz += 100) DrawDashedLine(grid, LogAxisX(layout, hz), layout.baseline);
  for (int32_t hz = 1000; below(hz) && hz <= 10000; hz += 1000) {
    DrawDashedLine(grid, LogAxisX(layout, hz), layout.baseline);
  }
  for (int32_t hz = 10000; below(hz); hz += 10000) DrawDashedLine(grid, LogAxisX(layout, hz), layout.baseline);
  DrawAxisRow(grid, width, layout.baseline);
}

// The one-point-per-column walk: bin `first`, then the first bin of every further column.
template <typename Row>
void WalkColumns(HDC dc, int32_t first, int32_t count, Row row) {
  for (int32_t k = first; k < count; ++k) {
    if (k != first && BinColumn[k] == BinColumn[k - 1]) continue;
    LineTo(dc, CurveColumn(k), row(k));
  }
}

}  // namespace

FftStrategy FftStrategyOf(int32_t fftdrawold, int32_t fftdrawline) {
  if (fftdrawold == 1) return FftStrategy::Old;
  return fftdrawline == 1 ? FftStrategy::EraseWithLines : FftStrategy::New;
}

void LayoutLogPicture(const FftSurfaces& surfaces, const FftGraphFrame& frame, const FftGraphMetrics& metrics,
                      FftStrategy strategy, FftGraphLayout* layout) {
  ClearFftSurface(surfaces.grid, frame.width, frame.height);
  ClearFftSurface(surfaces.back, frame.width, frame.height);
  LayoutLogAxis(frame, metrics, layout);
  WriteLogLabels(surfaces.grid, *layout, metrics);
  if (strategy != FftStrategy::EraseWithLines) DrawLogGrid(surfaces.grid, *layout, frame.width);
  for (int32_t k = 0; k < layout->bins; ++k) SetPixel(surfaces.grid, BinColumn[k], frame.height - 1, kTickColour);
  if (strategy == FftStrategy::EraseWithLines) {
    BitBlt(surfaces.window, 0, 0, frame.width, frame.height, surfaces.grid, 0, 0, SRCCOPY);
  }
}

void DrawLogPicture(const FftSurfaces& surfaces, const FftGraphLayout& layout, const FftCurveStyle& style,
                    int32_t fullScale, int32_t n, const int32_t* bins) {
  const int32_t baseline = layout.baseline;
  const int32_t first = style.draw0Hz == 1 ? 0 : 1;
  const int32_t count = layout.bins;
  const int32_t step = CurveStep(layout);
  const auto linearRow = [&](int32_t k) { return WrapSub(baseline, bins[k] / step); };

  // Background.
  const int32_t width = layout.width;
  const int32_t height = layout.height;
  switch (style.strategy) {
    case FftStrategy::Old:
      BitBlt(surfaces.back, 0, 0, width, height, surfaces.grid, 0, 0, SRCCOPY);
      break;
    case FftStrategy::New:
      BitBlt(surfaces.window, 0, 0, width, height, surfaces.grid, 0, 0, SRCCOPY);
      break;
    case FftStrategy::EraseWithLines:
      SelectObject(surfaces.window, GetStockObject(WHITE_PEN));
      MoveToEx(surfaces.window, 0, baseline, nullptr);
      if (style.onePerColumn == 1) {
        WalkColumns(surfaces.window, first, count, [&](int32_t k) { return WrapSub(baseline, PrevCurve[k] / step); });
        std::copy(bins, bins + count, PrevCurve);
      }
      SelectObject(surfaces.window, GetStockObject(BLACK_PEN));
      break;
  }

  // The curve.
  const bool onBack = style.strategy == FftStrategy::Old;
  MoveToEx(onBack ? surfaces.back : surfaces.window, 0, baseline, nullptr);
  const bool levelAxis = style.levelAxis == 1;
  if (levelAxis) MoveToEx(surfaces.back, 0, LevelAxisRow(bins[0], fullScale, n, baseline), nullptr);
  if (style.onePerColumn != 1) {
    for (int32_t k = 0; k < count; ++k) LineTo(surfaces.back, CurveColumn(k), CurveRow(layout, bins[k]));
  } else if (style.light != 1) {
    WalkColumns(surfaces.back, first, count, linearRow);
  } else if (onBack && levelAxis) {
    WalkColumns(surfaces.back, first, count, [&](int32_t k) { return LevelAxisRow(bins[k], fullScale, n, baseline); });
  } else {
    WalkColumns(onBack ? surfaces.back : surfaces.window, first, count, linearRow);
  }
}
