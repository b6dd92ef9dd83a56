// Plain recursive transforms from the engine's definition, which the routines must match bit for bit.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace fftref {

inline constexpr float kTwoPi = 6.2831855f;
using Block = std::vector<int32_t>;

struct Spectrum {
  Block re, im;
};

// 32-bit sums wrap; a product that does not fit truncates to INT32_MIN, as the x86 conversion does.
inline int32_t Wrap(int64_t v) { return static_cast<int32_t>(v); }
inline int32_t Trunc(double v) { return v > -2147483649.0 && v < 2147483648.0 ? static_cast<int32_t>(v) : INT32_MIN; }

// Complex radix 2; twiddle i of n points at i·(2π/n), either all in float or in double.
inline Spectrum Radix2(const Spectrum& s, bool floatTwiddles) {
  const int n = static_cast<int>(s.re.size()), h = n / 2;
  if (n == 1) return s;
  Spectrum even{Block(h), Block(h)}, odd{Block(h), Block(h)};
  for (int i = 0; i < h; ++i) {
    even.re[i] = s.re[2 * i], even.im[i] = s.im[2 * i];
    odd.re[i] = s.re[2 * i + 1], odd.im[i] = s.im[2 * i + 1];
  }
  even = Radix2(even, floatTwiddles);
  odd = Radix2(odd, floatTwiddles);
  Spectrum out{Block(n), Block(n)};
  for (int i = 0; i < h; ++i) {
    double c, sn;
    if (floatTwiddles) {
      const float theta = static_cast<float>(i) * (kTwoPi / static_cast<float>(n));
      c = static_cast<float>(std::cos(double{theta}));
      sn = static_cast<float>(std::sin(double{theta}));
    } else {
      const double theta = i * static_cast<double>(kTwoPi) / n;
      c = std::cos(theta);
      sn = std::sin(theta);
    }
    const int32_t ti = Trunc(static_cast<double>(odd.im[i]) * c + static_cast<double>(odd.re[i]) * sn);
    const int32_t tr = Trunc(static_cast<double>(odd.re[i]) * c - static_cast<double>(odd.im[i]) * sn);
    out.im[i] = Wrap(int64_t{even.im[i]} + ti), out.im[i + h] = Wrap(int64_t{even.im[i]} - ti);
    out.re[i] = Wrap(int64_t{even.re[i]} + tr), out.re[i + h] = Wrap(int64_t{even.re[i]} - tr);
  }
  return out;
}

inline Spectrum Real(const Block& x, bool floatTwiddles) { return Radix2({x, Block(x.size(), 0)}, floatTwiddles); }

// Real radix 4 for powers of four over a float angle summed step by step; other sizes by radix 2.
inline Spectrum Radix4(const Block& x) {
  const int n = static_cast<int>(x.size()), q = n / 4;
  int log2 = 0;
  while ((1 << log2) < n) ++log2;
  if (n == 4 || log2 % 2 != 0) return Real(x, true);
  Spectrum part{Block(n), Block(n)};
  for (int j = 0; j < 4; ++j) {
    Block quarter(q);
    for (int m = 0; m < q; ++m) quarter[m] = x[4 * m + j];
    const Spectrum s = Radix4(quarter);
    std::copy(s.re.begin(), s.re.end(), part.re.begin() + j * q);
    std::copy(s.im.begin(), s.im.end(), part.im.begin() + j * q);
  }
  std::vector<float> sine(n), cosine(n);
  float theta = 0.0f;
  for (int i = 0; i < n; ++i, theta = theta + kTwoPi / static_cast<float>(n)) {
    sine[i] = static_cast<float>(std::sin(double{theta}));
    cosine[i] = static_cast<float>(std::cos(double{theta}));
  }
  Spectrum out{Block(n), Block(n)};
  out.im[0] = Wrap(int64_t{part.im[0]} + part.im[q] + part.im[2 * q] + part.im[3 * q]);
  out.re[0] = Wrap(int64_t{part.re[0]} + part.re[q] + part.re[2 * q] + part.re[3 * q]);
  for (int k = 1; k < n; ++k) {
    int32_t ta = part.im[k % q], tb = part.re[k % q];
    for (int j = 1; j < 4; ++j) {
      const int p = k % q + j * q, t = (j * k) % n;
      ta = Trunc(ta + static_cast<double>(part.re[p]) * sine[t] + static_cast<double>(part.im[p]) * cosine[t]);
      tb = Trunc(tb + static_cast<double>(part.re[p]) * cosine[t] - static_cast<double>(part.im[p]) * sine[t]);
    }
    out.im[k] = ta, out.re[k] = tb;
  }
  return out;
}

}  // namespace fftref
