#include "spectrogram/sg_intensity.h"

#include <algorithm>
#include <cmath>

namespace {

// trunc(magnitude * gain) in double precision from the stored float gain, held within int32.
int32_t ScaledIndex(int32_t magnitude, float gain) {
  const double scaled = std::trunc(static_cast<double>(std::max(magnitude, 0)) * static_cast<double>(gain));
  return static_cast<int32_t>(std::min(scaled, 2147483647.0));
}

// "type1(old)": black to blue, blue to azure, then green to yellow-green, saturating at red.
COLORREF TypeOne(int32_t v) {
  if (v <= 127) return RGB(0, 0, v);
  if (v <= 255) return RGB(0, v - 128, v);
  if (v <= 383) return RGB(v - 255, v - 128, 0);
  return RGB(255, 0, 0);
}

// "type2(b,g wide)": black, blue, green, red, blue again, saturating at yellow.
COLORREF TypeTwo(int32_t v) {
  if (v <= 255) return RGB(0, 0, v);
  if (v <= 511) return RGB(0, v - 256, 511 - v);
  if (v <= 767) return RGB(v - 512, 767 - v, 0);
  if (v <= 1023) return RGB(1023 - v, 0, v - 768);
  return RGB(255, 255, 0);
}

// "type 3": black to red, red to green, green to blue, blue fading to black, saturating at blue.
COLORREF TypeThree(int32_t v) {
  if (v <= 127) return RGB(2 * v, 0, 0);
  if (v <= 255) return RGB(2 * (255 - v), 2 * v - 256, 0);
  if (v <= 383) return RGB(0, 2 * (383 - v), 2 * v - 512);
  if (v <= 511) return RGB(0, 0, 2 * (511 - v));
  return RGB(0, 0, 255);
}

}  // namespace

SgIntensityScale ComputeIntensityScale(int32_t fullScale, int32_t fftsample, int32_t zerofill, int32_t magnified) {
  const int64_t block = static_cast<int64_t>(fftsample) / std::max(zerofill, 1);
  const int64_t scale = static_cast<int64_t>(fullScale) * block / std::max(magnified, 1);
  SgIntensityScale result;
  result.intensityScale = std::max<int64_t>(scale, 1);
  result.monoGain = static_cast<float>(255.0 / static_cast<double>(result.intensityScale));
  result.colourGain = static_cast<float>(511.0 / static_cast<double>(result.intensityScale));
  return result;
}

int32_t IntensityValue(const SgPalette& palette, int32_t magnitude) {
  if (palette.colour == 0) return std::max(255 - ScaledIndex(magnitude, palette.scale.monoGain), 0);
  return ScaledIndex(magnitude, palette.scale.colourGain);
}

COLORREF ValueColour(const SgPalette& palette, int32_t value) {
  if (palette.colour == 0) {
    const int32_t g = std::clamp(value, 0, 255);
    return RGB(g, g, g);
  }
  const int32_t v = std::max(value, 0);
  if (palette.graphType == 0) return TypeOne(v);
  if (palette.graphType == 1) return TypeTwo(v);
  return TypeThree(v);
}
