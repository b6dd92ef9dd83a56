// Portable forms of the FFT passes: one butterfly or one output at a time.
#include "analysis/fft_arith.h"
#include "analysis/fft_kernels.h"

namespace {

// Only the size-2 transforms: entries 2m and 2m+1 come from the inputs at r and
// r + n/2, r being 2m bit-reversed.
template <typename T>
int Radix2Start(const int32_t* xRe, const int32_t* xIm, int n, int32_t* re, int32_t* im, const T* /*c*/,
                const T* /*s*/) {
  const int bits = Log2(n);
  const int half = n / 2;
  for (int m = 0; m < half; ++m) {
    const int r = ReverseBits(2 * m, bits);
    re[2 * m] = WrapAdd(xRe[r], xRe[r + half]);
    re[2 * m + 1] = WrapSub(xRe[r], xRe[r + half]);
    im[2 * m] = xIm == nullptr ? 0 : WrapAdd(xIm[r], xIm[r + half]);
    im[2 * m + 1] = xIm == nullptr ? 0 : WrapSub(xIm[r], xIm[r + half]);
  }
  return 2;
}

template <typename T>
void Radix2Level(int32_t* re, int32_t* im, int n, int h, const T* c, const T* s) {
  for (int g = 0; g < n; g += 2 * h) {
    int32_t* re0 = re + g;
    int32_t* im0 = im + g;
    int32_t* re1 = re0 + h;
    int32_t* im1 = im0 + h;
    for (int i = 0; i < h; ++i) {
      const double cc = c[i];
      const double ss = s[i];
      const double rk = re1[i];
      const double ik = im1[i];
      const int32_t ti = TruncToInt32(ik * cc + rk * ss);
      const int32_t tr = TruncToInt32(rk * cc - ik * ss);
      im1[i] = WrapSub(im0[i], ti);
      im0[i] = WrapAdd(im0[i], ti);
      re1[i] = WrapSub(re0[i], tr);
      re0[i] = WrapAdd(re0[i], tr);
    }
  }
}

// The size-4 transform of (x0, x1, x2, x3), taken in the order (x0, x2, x1, x3): two
// size-2 transforms and one butterfly, the second pair twiddled by a quarter turn.
void Transform4(int32_t x0, int32_t x1, int32_t x2, int32_t x3, int32_t* re, int32_t* im) {
  const int32_t re0 = WrapAdd(x0, x2);
  const int32_t re1 = WrapSub(x0, x2);
  const int32_t re2 = WrapAdd(x1, x3);
  const int32_t re3 = WrapSub(x1, x3);
  const double im3 = 0.0;
  const int32_t ta3 = TruncToInt32(im3 * kQuarterTurnCos + re3 * static_cast<double>(kQuarterTurnSin));
  const int32_t tb3 = TruncToInt32(re3 * static_cast<double>(kQuarterTurnCos) - im3 * kQuarterTurnSin);
  re[0] = WrapAdd(re0, re2);
  re[1] = WrapAdd(re1, tb3);
  re[2] = WrapSub(re0, re2);
  re[3] = WrapSub(re1, tb3);
  im[0] = 0;
  im[1] = ta3;
  im[2] = 0;
  im[3] = WrapSub(0, ta3);
}

void Radix4Start(const int32_t* x, int n, int32_t* re, int32_t* im) {
  const int digits = Log2(n) / 2;
  for (int g = 0; g < n; g += 4) {
    Transform4(x[ReverseDigits4(g, digits)], x[ReverseDigits4(g + 1, digits)], x[ReverseDigits4(g + 2, digits)],
               x[ReverseDigits4(g + 3, digits)], re + g, im + g);
  }
}

// Adds one twiddled quarter to an output: each of the two sums is truncated on its own.
void AddQuarter(int32_t& ta, int32_t& tb, double re, double im, double c, double s) {
  ta = TruncToInt32(static_cast<double>(ta) + re * s + im * c);
  tb = TruncToInt32(static_cast<double>(tb) + re * c - im * s);
}

void Radix4Level(int32_t* re, int32_t* im, int n, int m, const Radix4LevelTwiddles& t) {
  const int q = m / 4;
  for (int g = 0; g < n; g += m) {
    int32_t* r = re + g;
    int32_t* x = im + g;
    for (int a = 0; a < q; ++a) {
      int32_t outRe[4];
      int32_t outIm[4];
      for (int j = 0; j < 4; ++j) {
        const int k = a + j * q;
        int32_t ta = x[a];
        int32_t tb = r[a];
        AddQuarter(ta, tb, r[a + q], x[a + q], t.c1[k], t.s1[k]);
        AddQuarter(ta, tb, r[a + 2 * q], x[a + 2 * q], t.c2[k], t.s2[k]);
        AddQuarter(ta, tb, r[a + 3 * q], x[a + 3 * q], t.c3[k], t.s3[k]);
        outRe[j] = tb;
        outIm[j] = ta;
      }
      if (a == 0) {
        // Output 0 is the plain integer sum of the four quarters.
        outRe[0] = WrapAdd(WrapAdd(r[0], r[q]), WrapAdd(r[2 * q], r[3 * q]));
        outIm[0] = WrapAdd(WrapAdd(x[0], x[q]), WrapAdd(x[2 * q], x[3 * q]));
      }
      for (int j = 0; j < 4; ++j) {
        r[a + j * q] = outRe[j];
        x[a + j * q] = outIm[j];
      }
    }
  }
}

}  // namespace

const FftKernels kPortableFftKernels = {
    .name = "portable",
    .radix2Start = Radix2Start<float>,
    .radix2StartDirect = Radix2Start<double>,
    .radix2Level = Radix2Level<float>,
    .radix2LevelDirect = Radix2Level<double>,
    .radix4Start = Radix4Start,
    .radix4Level = Radix4Level,
};
