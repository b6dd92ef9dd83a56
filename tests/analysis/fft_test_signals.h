// Input blocks for the transform tests: random full-range 16-bit samples, extreme
// patterns, windowed blocks and the blocks the pitch-halving mode transforms.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "fft_reference.h"

namespace fftsignals {

using Block = std::vector<int32_t>;

struct NamedBlock {
  std::string name;
  Block samples;
};

inline Block Random16(int n, uint32_t seed) {
  std::mt19937 rng(seed);
  Block x(n);
  for (int32_t& v : x) {
    v = static_cast<int32_t>(rng() % 65536) - 32768;
  }
  return x;
}

// A tone of integer frequency f cycles per block, rounded to integers.
inline Block Tone(int n, int f, double amplitude, bool sine) {
  Block x(n);
  for (int i = 0; i < n; ++i) {
    const double angle = 2.0 * M_PI * f * i / n;
    x[i] = static_cast<int32_t>(std::lround(amplitude * (sine ? std::sin(angle) : std::cos(angle))));
  }
  return x;
}

// The extreme blocks every size is checked with.
inline std::vector<NamedBlock> ExtremeBlocks(int n) {
  Block alternating(n), first(n, 0), afterMiddle(n, 0);
  for (int i = 0; i < n; ++i) alternating[i] = i % 2 == 0 ? 32767 : -32768;
  first[0] = 32767;
  afterMiddle[(n / 2 + 1) % n] = -32768;
  return {{"all +32767", Block(n, 32767)},
          {"all -32768", Block(n, -32768)},
          {"alternating", alternating},
          {"impulse at 0", first},
          {"impulse after the middle", afterMiddle}};
}

// Random samples under a Blackman-Harris window of the first half, zero-filled to n
// (as the analysis does with a zero-fill factor of 2).
inline Block WindowedHalf(int n, uint32_t seed) {
  Block x = Random16(n, seed);
  const int m = n / 2;
  for (int i = 0; i < n; ++i) {
    if (i < m) {
      const double a = static_cast<double>(6.2831855f) * i / m;
      const float w = static_cast<float>(0.423 - 0.498 * std::cos(a) + 0.0792 * std::cos(2 * a));
      x[i] = static_cast<int32_t>(x[i] * static_cast<double>(w));
    } else {
      x[i] = 0;
    }
  }
  return x;
}

// The block the pitch mode hands to the real transform: samples weighted by
// sin(i·π/n), π in single precision.
inline Block PitchInput(const Block& samples) {
  const int n = static_cast<int>(samples.size());
  Block x(n);
  for (int i = 0; i < n; ++i) {
    x[i] = static_cast<int32_t>(samples[i] * std::sin(i * static_cast<double>(3.1415927f) / n));
  }
  return x;
}

// A complex spectrum as the pitch mode hands it to the complex transform: the
// spectrum of the pitch input compressed by two, bins 0 cleared.
inline void PitchSpectrum(const Block& samples, Block& re, Block& im) {
  const int n = static_cast<int>(samples.size());
  Block x = PitchInput(samples);
  Block r(n), i(n), ta(n), tb(n);
  fftref::FftRadix2Direct(x.data(), n, i.data(), r.data(), ta.data(), tb.data());
  re.assign(n, 0);
  im.assign(n, 0);
  for (int k = 0; k < n / 2; ++k) {
    re[k / 2] = fftref::Add(re[k / 2], r[k]);
    im[k / 2] = fftref::Add(im[k / 2], i[k]);
    if (n - k / 2 < n) {
      re[n - k / 2] = fftref::Add(re[n - k / 2], r[n - k]);
      im[n - k / 2] = fftref::Add(im[n - k / 2], i[n - k]);
    }
  }
  re[0] = im[0] = 0;
}

// The real blocks each size is checked with: the extremes, random blocks (fewer at
// the big sizes) and a windowed block.
inline std::vector<NamedBlock> RealBlocks(int n, uint32_t seed) {
  std::vector<NamedBlock> blocks = ExtremeBlocks(n);
  const int randomCount = n <= 4096 ? 3 : 1;
  for (int r = 0; r < randomCount; ++r) {
    blocks.push_back({"random #" + std::to_string(r), Random16(n, seed * n + r)});
  }
  blocks.push_back({"windowed", WindowedHalf(n, seed + n)});
  return blocks;
}

// Music-like samples for the pitch mode: a few tones and some noise.
inline Block Music(int n, uint32_t seed, int bits) {
  std::mt19937 rng(seed);
  const double full = bits == 16 ? 32767.0 : 127.0;
  Block x(n);
  for (int i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / n;
    const double v = 0.4 * std::sin(2 * M_PI * 31.3 * t) + 0.25 * std::sin(2 * M_PI * 207.9 * t) +
                     0.1 * std::sin(2 * M_PI * 1500.2 * t) + 0.2 * (static_cast<double>(rng() % 2001) / 1000.0 - 1.0);
    x[i] = static_cast<int32_t>(std::lround(full * v));
  }
  return x;
}

}  // namespace fftsignals
