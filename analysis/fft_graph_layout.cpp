#include "analysis/fft_graph_layout.h"

#include <algorithm>
#include <cmath>

#include "analysis/fft_arith.h"

int32_t BinColumn[kFftGraphBinRoom];

void LayoutLevelScale(const FftGraphFrame& frame, const FftGraphMetrics& metrics, FftGraphLayout* layout) {
  layout->width = frame.width;
  layout->height = frame.height;
  const int64_t scaled = static_cast<int64_t>(frame.fullScale) * frame.m;
  const int64_t fs = frame.magnified > 0 ? scaled / frame.magnified : scaled;
  layout->fs = static_cast<int32_t>(std::clamp<int64_t>(fs, INT32_MIN, INT32_MAX));
  const int32_t rows = std::max(frame.height - metrics.defaultLineHeight, 1);
  layout->vpp = static_cast<float>(layout->fs) / static_cast<float>(rows);
}

void LayoutLinearAxis(const FftGraphFrame& frame, const FftGraphMetrics& metrics, FftGraphLayout* layout) {
  LayoutLevelScale(frame, metrics, layout);
  layout->baseline = frame.height - metrics.lineHeight;
  layout->binsPerPx = static_cast<float>((frame.n / 2.0) / frame.width);
  const float binHz = static_cast<float>(frame.rate) / static_cast<float>(frame.n);
  layout->pxPerHz = 1.0f / (binHz * layout->binsPerPx);
}

void LayoutLogAxis(const FftGraphFrame& frame, const FftGraphMetrics& metrics, FftGraphLayout* layout) {
  LayoutLevelScale(frame, metrics, layout);
  const float binHz = static_cast<float>(frame.rate) / static_cast<float>(frame.n);
  layout->nyq = static_cast<float>(frame.rate / 2);
  layout->logNyq = static_cast<float>(std::log10(static_cast<double>(layout->nyq)));
  const auto hzPerPx = static_cast<float>((frame.rate / 2.0) / frame.width);
  layout->xs = layout->nyq / layout->logNyq / hzPerPx;
  layout->baseline = frame.height - metrics.lineHeight;
  layout->xw = static_cast<float>(frame.width) / layout->logNyq;
  layout->binFrac = binHz / layout->nyq;
  layout->bins = std::clamp(frame.n / 2, 0, kFftGraphBinRoom);
  for (int32_t k = 0; k < layout->bins; ++k) {
    const double decades = std::log10(static_cast<double>(static_cast<float>(k) * layout->binFrac));
    BinColumn[k] = TruncToInt32((decades + layout->logNyq) * layout->xw);
  }
}

int32_t LinearAxisX(const FftGraphLayout& layout, int32_t hz, int32_t shift) {
  return TruncToInt32(static_cast<float>(hz) * layout.pxPerHz - static_cast<float>(shift));
}

int32_t LogAxisX(const FftGraphLayout& layout, int32_t hz, int32_t shift) {
  const double decades = std::log10(static_cast<double>(static_cast<float>(hz) / layout.nyq));
  return TruncToInt32((decades + layout.logNyq) * layout.xs - shift);
}

int32_t CurveRow(const FftGraphLayout& layout, int32_t value) {
  return WrapSub(layout.baseline, TruncToInt32(static_cast<float>(value) / layout.vpp));
}

int32_t CurveStep(const FftGraphLayout& layout) { return std::max(TruncToInt32(layout.vpp), 1); }

int32_t LevelAxisRow(int32_t value, int32_t fullScale, int32_t n, int32_t baseline) {
  if (value == 0) return baseline;
  const double ratio = static_cast<double>(value) / (static_cast<double>(fullScale) * n);
  return TruncToInt32(-std::log10(ratio) * 20.0);
}
