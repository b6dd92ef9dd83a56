#include "analysis/fft_tables.h"

#include <array>
#include <cmath>

#include "analysis/fft_arith.h"

namespace {

// Bit and base-4 digit reversal of one byte; wider values are reversed byte by byte.
constexpr std::array<uint8_t, 256> MakeByteReversal(int digitBits) {
  std::array<uint8_t, 256> table{};
  const int digits = 8 / digitBits;
  const int mask = (1 << digitBits) - 1;
  for (int v = 0; v < 256; ++v) {
    int r = 0;
    for (int d = 0; d < digits; ++d) {
      r = (r << digitBits) | ((v >> (d * digitBits)) & mask);
    }
    table[v] = static_cast<uint8_t>(r);
  }
  return table;
}

constexpr std::array<uint8_t, 256> kReversedBits = MakeByteReversal(1);
constexpr std::array<uint8_t, 256> kReversedDigits4 = MakeByteReversal(2);

int Reverse16(const std::array<uint8_t, 256>& byteTable, int v) {
  return (byteTable[v & 0xff] << 8) | byteTable[(v >> 8) & 0xff];
}

// Where level m begins in the radix-4 arrays (levels 16, 64, ... side by side).
int Radix4LevelOffset(int m) { return (m - 16) / 3; }

}  // namespace

bool IsFftSize(int n) { return n >= 2 && n <= kFftMaxSize && (n & (n - 1)) == 0; }

bool IsRadix4Size(int n) { return IsFftSize(n) && n >= 4 && n <= kFftMaxRadix4Size && Log2(n) % 2 == 0; }

int Log2(int n) {
  int bits = 0;
  while ((1 << (bits + 1)) <= n) {
    ++bits;
  }
  return bits;
}

int ReverseBits(int v, int bits) { return Reverse16(kReversedBits, v) >> (16 - bits); }

int ReverseDigits4(int v, int digits) { return Reverse16(kReversedDigits4, v) >> (16 - 2 * digits); }

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
