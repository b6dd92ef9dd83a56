#include "views/vectorscope_picture.h"

#include <algorithm>

#include "shared/spectrum_view_samples.h"

namespace {

constexpr COLORREF kBlack = 0x000000;

int32_t Sample(const std::atomic<int32_t>* samples, int32_t i) { return samples[i].load(std::memory_order_relaxed); }

}  // namespace

VsScales ComputeVsScales(int32_t width, int32_t height, int32_t fullScale, int32_t fftsample, int32_t vecscpsample) {
  VsScales scales;
  // A source without a format yet must not divide by zero.
  const int32_t half = std::max(fullScale / 2, 1);
  scales.width = width;
  scales.height = height;
  scales.xScale = static_cast<float>((width / 2.0) / half);
  scales.yScale = static_cast<float>((height / 2.0) / half);
  scales.centreX = width / 2;
  scales.centreY = height / 2;
  scales.count = std::clamp(std::min(fftsample, vecscpsample), 0, kViewSampleRoom);
  return scales;
}

POINT VsPoint(const VsScales& scales, int32_t left, int32_t right) {
  // Single precision throughout, truncated toward zero. The first channel is negated as an
  // integer: -(-32768) still fits.
  const float x = static_cast<float>(right) * scales.xScale + static_cast<float>(scales.centreX);
  const float y = static_cast<float>(-static_cast<int64_t>(left)) * scales.yScale + static_cast<float>(scales.centreY);
  return {static_cast<LONG>(x), static_cast<LONG>(y)};
}

void DrawVectorscopePicture(HDC dc, const VsScales& scales, const std::atomic<int32_t>* left,
                            const std::atomic<int32_t>* right, int32_t lineMode) {
  Rectangle(dc, -1, -1, scales.width + 1, scales.height + 1);
  if (scales.count <= 0) return;
  if (lineMode == 1) {
    const POINT first = VsPoint(scales, Sample(left, 0), Sample(right, 0));
    MoveToEx(dc, first.x, first.y, nullptr);
    for (int32_t i = 0; i < scales.count; ++i) {
      const POINT p = VsPoint(scales, Sample(left, i), Sample(right, i));
      LineTo(dc, p.x, p.y);
    }
    return;
  }
  for (int32_t i = 1; i < scales.count; ++i) {
    const POINT p = VsPoint(scales, Sample(left, i), Sample(right, i));
    SetPixel(dc, p.x, p.y, kBlack);
  }
}
