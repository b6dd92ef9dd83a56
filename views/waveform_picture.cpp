#include "views/waveform_picture.h"

#include <algorithm>

#include "shared/spectrum_view_samples.h"

namespace {

constexpr int32_t k16BitHalfRange = 32768;
constexpr float k8BitRange = 256.0f;

}  // namespace

WavScales ComputeWavScales(const WavScales& previous, int32_t width, int32_t height, int32_t bits, int32_t fftsample) {
  WavScales scales = previous;
  scales.width = width;
  scales.height = height;
  scales.middle = height / 2;
  if (bits == 16) scales.scale = static_cast<float>((height / 2) / static_cast<double>(k16BitHalfRange));
  if (bits == 8) scales.scale = static_cast<float>(height) / k8BitRange;
  // A minimized window has no width to divide by; a window wider than the frame shows one sample
  // per column instead of never advancing.
  scales.step = width > 0 ? std::max(fftsample / width, 1) : 0;
  return scales;
}

int32_t WavRow(const WavScales& scales, int32_t v) {
  return static_cast<int32_t>(static_cast<float>(-static_cast<int64_t>(v)) * scales.scale) + scales.middle;
}

int32_t WavSampleCount(const WavScales& scales, int32_t fftsample, int32_t squeezed) {
  return std::clamp(squeezed == 0 ? scales.width : fftsample, 0, kViewSampleRoom);
}

void DrawWaveformPicture(HDC dc, const WavScales& scales, const int32_t* samples, int32_t fftsample, int32_t squeezed) {
  const int32_t count = WavSampleCount(scales, fftsample, squeezed);
  if (scales.step <= 0 || count <= 0) return;
  MoveToEx(dc, 0, WavRow(scales, samples[0]), nullptr);
  Rectangle(dc, -1, -1, scales.width + 1, scales.height + 1);
  if (squeezed == 0) {
    for (int32_t i = 1; i < count; ++i) LineTo(dc, i, WavRow(scales, samples[i]));
    return;
  }
  int32_t column = 1;
  for (int32_t j = scales.step; j < count; j += scales.step) LineTo(dc, column++, WavRow(scales, samples[j]));
}
