// Twiddle tables of the FFT engine and the index orders of decimation in time.
// Every caching routine owns one table record; a record is filled for one transform
// size at a time and refilled when a call brings another size.
#pragma once

#include <array>
#include <cstdint>

#include "analysis/fft.h"

// Largest radix-4 size (4^7) and the room its levels 16, 64, ..., 16384 take
// side by side.
inline constexpr int kFftMaxRadix4Size = 16384;
inline constexpr int kRadix4TwiddleRoom = (kFftMaxRadix4Size - 16) / 3 + kFftMaxRadix4Size;

bool IsFftSize(int n);
bool IsRadix4Size(int n);

inline int Log2(int n) {
  int bits = 0;
  while ((2 << bits) <= n) {
    ++bits;
  }
  return bits;
}

// Bit and base-4 digit reversal of one byte; wider values are reversed byte by byte.
constexpr std::array<uint8_t, 256> ByteReversal(int digitBits) {
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

inline constexpr std::array<uint8_t, 256> kReversedBits = ByteReversal(1);
inline constexpr std::array<uint8_t, 256> kReversedDigits4 = ByteReversal(2);

// The lowest `bits` bits of v in reverse order (v < 2^16).
inline int ReverseBits(int v, int bits) {
  return ((kReversedBits[v & 0xff] << 8) | kReversedBits[(v >> 8) & 0xff]) >> (16 - bits);
}

// The lowest `digits` base-4 digits of v in reverse order (v < 4^8).
inline int ReverseDigits4(int v, int digits) {
  return ((kReversedDigits4[v & 0xff] << 8) | kReversedDigits4[(v >> 8) & 0xff]) >> (16 - 2 * digits);
}

// Radix-2 twiddles of every level up to the filled size: butterfly i of a
// sub-transform of size n (h = n/2) uses cos[h + i] and sin[h + i].
template <typename T>
struct Radix2Twiddles {
  int size;  // the size filled for; 0 before the first fill
  T cos[kFftMaxSize];
  T sin[kFftMaxSize];
};

// Float twiddles of FftRadix2 and FftComplexRadix2: the level of size m has the
// angle step step·(n/m) (the outermost step doubled once per level) and angle
// i·step in single precision; cos and sin are rounded to float.
void FillRadix2Twiddles(Radix2Twiddles<float>& t, int n, float step);

// Double twiddles of FftRadix2Direct: angle i·6.2831855/m in double, unrounded.
void FillDirectTwiddles(Radix2Twiddles<double>& t, int n);

// The twiddles one radix-4 level of size m reads for output k: (c1, s1) at angle k,
// (c2, s2) at angle 2k mod m and (c3, s3) at angle 3k mod m, each array indexed by k.
struct Radix4LevelTwiddles {
  const float* c1;
  const float* s1;
  const float* c2;
  const float* s2;
  const float* c3;
  const float* s3;
};

// Radix-4 twiddles: the level of size m holds m angles accumulated in single
// precision in steps of 6.2831855/m, stored per output k as above.
struct Radix4Twiddles {
  int size;  // the size filled for; 0 before the first fill
  float c1[kRadix4TwiddleRoom];
  float s1[kRadix4TwiddleRoom];
  float c2[kRadix4TwiddleRoom];
  float s2[kRadix4TwiddleRoom];
  float c3[kRadix4TwiddleRoom];
  float s3[kRadix4TwiddleRoom];
};

void FillRadix4Twiddles(Radix4Twiddles& t, int n);
Radix4LevelTwiddles Radix4Level(const Radix4Twiddles& t, int m);

// The quarter-turn twiddle of the size-4 transforms: cos and sin of π/2, from π in
// single precision, evaluated in double and rounded to float.
extern const float kQuarterTurnCos;
extern const float kQuarterTurnSin;
