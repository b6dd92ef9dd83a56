// The spectrogram's intensity scale and colour maps: how a spectrum magnitude becomes a pixel. The
// intensity is linear in the magnitude; the magnification alone sets the sensitivity.
#pragma once

#include <cstdint>

#include "platform/win32.h"

struct SgIntensityScale {
  // The magnitude shown as full black (grey map) or colour index 511: fullScale * M / magnification.
  int64_t intensityScale = 1;
  float monoGain = 255.0f;    // 255 / intensityScale
  float colourGain = 511.0f;  // 511 / intensityScale
};

// From the sample format's full scale, the block length M = fftsample / zerofill and
// `sggraphmagnified`, in 64-bit arithmetic (the product reaches 2^31). A magnification below 1
// counts as 1, a zero fill below 1 as 1, and a scale that comes out below 1 (a full scale of 0)
// as 1, so that no gain divides by zero: every magnitude then saturates.
SgIntensityScale ComputeIntensityScale(int32_t fullScale, int32_t fftsample, int32_t zerofill, int32_t magnified);

// How a column is coloured: the scale in force, `sgcolor` (0 grey, otherwise colour) and
// `sggraphtype` (0 "type1(old)", 1 "type2(b,g wide)", anything else "type 3").
struct SgPalette {
  SgIntensityScale scale;
  int32_t colour = 1;
  int32_t graphType = 1;
};

// The intensity value of a magnitude: the grey level (255 none .. 0 full) in the grey map, the
// colour index v (0 and up) in the colour maps. Negative magnitudes count as 0.
int32_t IntensityValue(const SgPalette& palette, int32_t magnitude);
// The pixel colour of an intensity value, saturating at the map's last row.
COLORREF ValueColour(const SgPalette& palette, int32_t value);

inline COLORREF IntensityColour(const SgPalette& palette, int32_t magnitude) {
  return ValueColour(palette, IntensityValue(palette, magnitude));
}
