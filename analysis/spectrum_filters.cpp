#include "analysis/spectrum_filters.h"

#include <algorithm>
#include <cstdint>

int32_t SmoothingHistory[kSpectrumRoom];

namespace {

// Octaves of 27.5 Hz, with 0 as the lowest edge.
constexpr float kPinkBandEdges[15] = {0.0f,   3.4375f, 6.875f,  13.75f,  27.5f,   55.0f,   110.0f,  220.0f,
                                      440.0f, 880.0f,  1760.0f, 3520.0f, 7040.0f, 14080.0f, 28160.0f};

// Truncation toward zero, held at the ends of the 32-bit range.
int32_t SaturatingTrunc(double v) { return static_cast<int32_t>(std::clamp(v, -2147483648.0, 2147483647.0)); }

}  // namespace

void FlattenPinkNoise(int32_t* bins, int32_t n, int32_t rate) {
  if (n < 2) return;
  const int32_t binHz = rate / n;  // integer division first, as the band walk has always done
  int32_t band = 14;
  double g = 1.0;
  double factor = 1.0 / g;
  for (int32_t k = n / 2; k >= 1; --k) {
    const int32_t f = binHz * k;
    // At most one edge per bin. The lowest edge is 0, which no frequency lies below unless the
    // rate is negative (a broken header); the walk must not leave the table then.
    if (band > 0 && static_cast<float>(f) < kPinkBandEdges[band]) {
      --band;
      g += 1.0;
      factor = 1.0 / g;
    }
    bins[k] = SaturatingTrunc(static_cast<double>(bins[k]) * factor * 8.0);
  }
}

void CorrectLoudness(int32_t* bins, int32_t n, int32_t rate) {
  if (n < 2) return;
  for (int32_t k = 0; k < n / 2; ++k) {
    const int64_t f = static_cast<int64_t>(rate) * k / n;
    if (f > 200) return;
    if (f == 0) {
      bins[k] /= 2;
    } else if (f < 200) {
      bins[k] = SaturatingTrunc(static_cast<double>(bins[k]) / (2.0 - static_cast<double>(f) / 200.0));
    }
  }
}

void SmoothInTime(int32_t* bins, int32_t n, int32_t kind, int32_t* history) {
  const int32_t half = n / 2;
  if (kind == kSmoothingNormal) {
    for (int32_t k = 0; k < half; ++k) {
      bins[k] = (bins[k] >> 1) + (history[k] >> 1);
      history[k] = bins[k];
    }
  } else if (kind == kSmoothingLight) {
    // Twice a large magnitude does not fit 32 bits; the sum is exact in a double, and since a
    // third of an integer lies at least 1/3 from the next integer, truncating the rounded quotient
    // gives exactly the integer division toward zero. The weighted mean always fits 32 bits.
    for (int32_t k = 0; k < half; ++k) {
      bins[k] = static_cast<int32_t>((static_cast<double>(history[k]) + 2.0 * static_cast<double>(bins[k])) / 3.0);
      history[k] = bins[k];
    }
  }
}
