// Plain recursive transforms written straight from the definition of the engine, the
// yardstick the optimised routines must match bit for bit. Twiddles are computed on
// every call, which is what the first transform after a size change does (fill mode).
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace fftref {

inline constexpr float kTwoPi = 6.2831855f;

// 32-bit integer sums wrap; a double truncated toward zero that does not fit becomes
// INT32_MIN, as the x86 conversion gives it.
inline int32_t Add(int32_t a, int32_t b) { return static_cast<int32_t>(int64_t{a} + b); }
inline int32_t Sub(int32_t a, int32_t b) { return static_cast<int32_t>(int64_t{a} - b); }
inline int32_t Trunc(double v) {
  if (v > -2147483649.0 && v < 2147483648.0) {
    return static_cast<int32_t>(v);
  }
  return INT32_MIN;
}

inline int Log2(int n) {
  int l = 0;
  while ((1 << l) < n) {
    ++l;
  }
  return l;
}

inline bool IsPowerOf4(int n) { return n >= 4 && (n & (n - 1)) == 0 && Log2(n) % 2 == 0; }

struct Twiddle {
  double c;
  double s;
};

// The butterfly shared by the radix-2 routines, for the halves [0, h) and [h, n).
template <typename TwiddleOf>
void Butterfly(int n, int32_t* Im, int32_t* Re, int32_t* Ta, int32_t* Tb, TwiddleOf twiddleOf) {
  const int h = n / 2;
  for (int i = 0; i < h; ++i) {
    const int k = i + h;
    const Twiddle w = twiddleOf(i);
    Ta[k] = Trunc(static_cast<double>(Im[k]) * w.c + static_cast<double>(Re[k]) * w.s);
    Ta[i] = Add(Im[i], Ta[k]);
    Ta[k] = Sub(Im[i], Ta[k]);
    Tb[k] = Trunc(static_cast<double>(Re[k]) * w.c - static_cast<double>(Im[k]) * w.s);
    Tb[i] = Add(Re[i], Tb[k]);
    Tb[k] = Sub(Re[i], Tb[k]);
  }
  for (int i = 0; i < n; ++i) {
    Re[i] = Tb[i];
    Im[i] = Ta[i];
  }
}

// Twiddle i of a level with the given step: angle i·step in float, cos and sin
// rounded to float.
inline Twiddle FloatTwiddle(int i, float step) {
  const float theta = static_cast<float>(i) * step;
  return {static_cast<float>(std::cos(static_cast<double>(theta))),
          static_cast<float>(std::sin(static_cast<double>(theta)))};
}

inline void Radix2Recursion(int32_t* d, int n, int32_t* Im, int32_t* Re, int32_t* Ta, int32_t* Tb, float step) {
  if (n == 2) {
    Im[0] = Im[1] = 0;
    Re[0] = Add(d[0], d[1]);
    Re[1] = Sub(d[0], d[1]);
    return;
  }
  const int h = n / 2;
  Radix2Recursion(d, h, Im, Re, Ta, Tb, step * 2.0f);
  Radix2Recursion(d + h, h, Im + h, Re + h, Ta, Tb, step * 2.0f);
  Butterfly(n, Im, Re, Ta, Tb, [step](int i) { return FloatTwiddle(i, step); });
}

inline void FftRadix2(int32_t* x, int n, int32_t* Im, int32_t* Re, int32_t* Ta, int32_t* Tb, float step) {
  const int bits = Log2(n);
  for (int i = 0; i < n; ++i) {
    int r = 0;
    for (int b = 0; b < bits; ++b) {
      r = 2 * r + ((i >> b) & 1);
    }
    Ta[r] = x[i];
  }
  // From here the permuted block is the data and x the first scratch array.
  Radix2Recursion(Ta, n, Im, Re, x, Tb, step);
}

inline int FftRadix2Direct(int32_t* x, int n, int32_t* Im, int32_t* Re, int32_t* Ta, int32_t* Tb) {
  if (n == 2) {
    Im[0] = Im[1] = 0;
    Re[0] = Add(x[0], x[1]);
    Re[1] = Sub(x[0], x[1]);
    return 0;
  }
  const int h = n / 2;
  for (int i = 0; i < h; ++i) {
    Ta[i] = x[2 * i];
    Ta[h + i] = x[2 * i + 1];
  }
  FftRadix2Direct(Ta, h, Im, Re, x, Tb);
  FftRadix2Direct(Ta + h, h, Im + h, Re + h, x, Tb);
  Butterfly(n, Im, Re, x, Tb, [n](int i) {
    const double theta = i * static_cast<double>(kTwoPi) / n;
    return Twiddle{std::cos(theta), std::sin(theta)};
  });
  return 0;
}

inline void FftComplexRadix2(int n, int32_t* Im, int32_t* Re, int32_t* Ta, int32_t* Tb, float step) {
  if (n == 2) {
    Ta[0] = Add(Re[0], Re[1]);
    Ta[1] = Sub(Re[0], Re[1]);
    Tb[0] = Add(Im[0], Im[1]);
    Tb[1] = Sub(Im[0], Im[1]);
    Re[0] = Ta[0];
    Re[1] = Ta[1];
    Im[0] = Tb[0];
    Im[1] = Tb[1];
    return;
  }
  const int h = n / 2;
  for (int i = 0; i < h; ++i) {
    Ta[i] = Re[2 * i];
    Ta[h + i] = Re[2 * i + 1];
    Tb[i] = Im[2 * i];
    Tb[h + i] = Im[2 * i + 1];
  }
  for (int i = 0; i < n; ++i) {
    Re[i] = Ta[i];
    Im[i] = Tb[i];
  }
  FftComplexRadix2(h, Im, Re, Ta, Tb, step * 2.0f);
  FftComplexRadix2(h, Im + h, Re + h, Ta, Tb, step * 2.0f);
  Butterfly(n, Im, Re, Ta, Tb, [step](int i) { return FloatTwiddle(i, step); });
}

inline void Radix4Recursion(int32_t* x, int n, int32_t* Im, int32_t* Re, int32_t* Ta, int32_t* Tb) {
  if (n == 4) {
    const int32_t x1 = x[1];
    x[1] = x[2];
    x[2] = x1;
    const int32_t y0 = x[0], y1 = x[1], y2 = x[2], y3 = x[3];
    Im[0] = Im[1] = Im[2] = Im[3] = 0;
    Re[0] = Add(y0, y1);
    Re[1] = Sub(y0, y1);
    Re[2] = Add(y2, y3);
    Re[3] = Sub(y2, y3);
    Ta[2] = Im[2];
    Ta[0] = Add(Im[0], Ta[2]);
    Ta[2] = Sub(Im[0], Ta[2]);
    Tb[2] = Re[2];
    Tb[0] = Add(Re[0], Tb[2]);
    Tb[2] = Sub(Re[0], Tb[2]);
    const double c = static_cast<float>(std::cos(3.1415927f / 2.0));
    const double s = static_cast<float>(std::sin(3.1415927f / 2.0));
    Ta[3] = Trunc(Im[3] * c + Re[3] * s);
    Ta[1] = Add(Im[1], Ta[3]);
    Ta[3] = Sub(Im[1], Ta[3]);
    Tb[3] = Trunc(Re[3] * c - Im[3] * s);
    Tb[1] = Add(Re[1], Tb[3]);
    Tb[3] = Sub(Re[1], Tb[3]);
    for (int i = 0; i < 4; ++i) {
      Re[i] = Tb[i];
      Im[i] = Ta[i];
    }
    return;
  }
  const int q = n / 4;
  for (int m = 0; m < q; ++m) {
    for (int j = 0; j < 4; ++j) {
      Ta[j * q + m] = x[4 * m + j];
    }
  }
  for (int i = 0; i < n; ++i) {
    x[i] = Ta[i];
  }
  for (int j = 0; j < 4; ++j) {
    Radix4Recursion(x + j * q, q, Im + j * q, Re + j * q, Ta, Tb);
  }
  std::vector<float> sine(n), cosine(n);
  const float delta = kTwoPi / static_cast<float>(n);
  float theta = 0.0f;
  for (int i = 0; i < n; ++i) {
    sine[i] = static_cast<float>(std::sin(static_cast<double>(theta)));
    cosine[i] = static_cast<float>(std::cos(static_cast<double>(theta)));
    theta = theta + delta;
  }
  Ta[0] = Add(Add(Add(Im[0], Im[q]), Im[2 * q]), Im[3 * q]);
  Tb[0] = Add(Add(Add(Re[0], Re[q]), Re[2 * q]), Re[3 * q]);
  for (int k = 1; k < n; ++k) {
    const int a = k % q;
    Ta[k] = Im[a];
    Tb[k] = Re[a];
    const int parts[3][2] = {{a + q, k}, {a + 2 * q, (2 * k) % n}, {a + 3 * q, (3 * k) % n}};
    for (const auto& [p, t] : parts) {
      Ta[k] = Trunc(Ta[k] + static_cast<double>(Re[p]) * sine[t] + static_cast<double>(Im[p]) * cosine[t]);
      Tb[k] = Trunc(Tb[k] + static_cast<double>(Re[p]) * cosine[t] - static_cast<double>(Im[p]) * sine[t]);
    }
  }
  for (int i = 0; i < n; ++i) {
    Re[i] = Tb[i];
    Im[i] = Ta[i];
  }
}

// Sizes that are not powers of four take the radix-2 transform.
inline void FftRadix4(int32_t* x, int n, int32_t* Im, int32_t* Re, int32_t* Ta, int32_t* Tb) {
  if (!IsPowerOf4(n)) {
    FftRadix2(x, n, Im, Re, Ta, Tb, kTwoPi / static_cast<float>(n));
    return;
  }
  Radix4Recursion(x, n, Im, Re, Ta, Tb);
}

}  // namespace fftref
