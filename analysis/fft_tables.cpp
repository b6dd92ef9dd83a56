#include "analysis/fft_tables.h"

#include <cmath>

#include "analysis/fft_arith.h"

namespace {

// Where level m begins in the radix-4 arrays (levels 16, 64, ... side by side).
int Radix4LevelOffset(int m) { return (m - 16) / 3; }

}  // namespace

const float kQuarterTurnCos = static_cast<float>(std::cos(static_cast<double>(kPi) / 2.0));
const float kQuarterTurnSin = static_cast<float>(std::sin(static_cast<double>(kPi) / 2.0));

bool IsFftSize(int n) { return n >= 2 && n <= kFftMaxSize && (n & (n - 1)) == 0; }

bool IsRadix4Size(int n) { return IsFftSize(n) && n >= 4 && n <= kFftMaxRadix4Size && Log2(n) % 2 == 0; }

void FillRadix2Twiddles(Radix2Twiddles<float>& t, int n, float step) {
  float levelStep = step;
  for (int m = n; m >= 4; m /= 2) {
    const int h = m / 2;
    for (int i = 0; i < h; ++i) {
      const float theta = static_cast<float>(i) * levelStep;
      t.cos[h + i] = static_cast<float>(std::cos(static_cast<double>(theta)));
      t.sin[h + i] = static_cast<float>(std::sin(static_cast<double>(theta)));
    }
    levelStep = levelStep * 2.0f;
  }
  t.size = n;
}

void FillDirectTwiddles(Radix2Twiddles<double>& t, int n) {
  for (int m = n; m >= 4; m /= 2) {
    const int h = m / 2;
    for (int i = 0; i < h; ++i) {
      const double theta = static_cast<double>(i) * static_cast<double>(kTwoPi) / m;
      t.cos[h + i] = std::cos(theta);
      t.sin[h + i] = std::sin(theta);
    }
  }
  t.size = n;
}

void FillRadix4Twiddles(Radix4Twiddles& t, int n) {
  for (int m = 16; m <= n; m *= 4) {
    const int base = Radix4LevelOffset(m);
    float* c1 = t.c1 + base;
    float* s1 = t.s1 + base;
    const float delta = kTwoPi / static_cast<float>(m);
    float theta = 0.0f;
    for (int k = 0; k < m; ++k) {
      s1[k] = static_cast<float>(std::sin(static_cast<double>(theta)));
      c1[k] = static_cast<float>(std::cos(static_cast<double>(theta)));
      theta = theta + delta;
    }
    for (int k = 0; k < m; ++k) {
      t.c2[base + k] = c1[(2 * k) % m];
      t.s2[base + k] = s1[(2 * k) % m];
      t.c3[base + k] = c1[(3 * k) % m];
      t.s3[base + k] = s1[(3 * k) % m];
    }
  }
  t.size = n;
}

Radix4LevelTwiddles Radix4Level(const Radix4Twiddles& t, int m) {
  const int base = Radix4LevelOffset(m);
  return {t.c1 + base, t.s1 + base, t.c2 + base, t.s2 + base, t.c3 + base, t.s3 + base};
}
