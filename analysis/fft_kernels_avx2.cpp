// AVX2 forms of the FFT passes: four butterflies or four outputs per step, with the
// twiddle products in four-lane double vectors. Only separate multiplies and adds
// are used (no fused multiply-add), and the vector truncation gives INT32_MIN out of
// range exactly as the scalar one does, so the results equal the portable kernels.
#include "analysis/fft_arith.h"
#include "analysis/fft_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#define MORVEX_AVX2 __attribute__((target("avx2")))

namespace {

MORVEX_AVX2 inline __m256d LoadTwiddles(const float* p) { return _mm256_cvtps_pd(_mm_loadu_ps(p)); }
MORVEX_AVX2 inline __m256d LoadTwiddles(const double* p) { return _mm256_loadu_pd(p); }

MORVEX_AVX2 inline __m128i LoadInts(const int32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
MORVEX_AVX2 inline void StoreInts(int32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

int PortableStart(const int32_t* xRe, const int32_t* xIm, int n, int32_t* re, int32_t* im, const float* c,
                  const float* s) {
  return kPortableFftKernels.radix2Start(xRe, xIm, n, re, im, c, s);
}
int PortableStart(const int32_t* xRe, const int32_t* xIm, int n, int32_t* re, int32_t* im, const double* c,
                  const double* s) {
  return kPortableFftKernels.radix2StartDirect(xRe, xIm, n, re, im, c, s);
}
void PortableLevel(int32_t* re, int32_t* im, int n, int h, const float* c, const float* s) {
  kPortableFftKernels.radix2Level(re, im, n, h, c, s);
}
void PortableLevel(int32_t* re, int32_t* im, int n, int h, const double* c, const double* s) {
  kPortableFftKernels.radix2LevelDirect(re, im, n, h, c, s);
}

// Four butterflies: the twiddled upper entries (rk, ik) against the lower ones.
MORVEX_AVX2 inline void Butterfly4(__m128i& ri, __m128i& ii, __m128i& rk, __m128i& ik, __m256d c, __m256d s) {
  const __m256d rkd = _mm256_cvtepi32_pd(rk);
  const __m256d ikd = _mm256_cvtepi32_pd(ik);
  const __m128i ti = _mm256_cvttpd_epi32(_mm256_add_pd(_mm256_mul_pd(ikd, c), _mm256_mul_pd(rkd, s)));
  const __m128i tr = _mm256_cvttpd_epi32(_mm256_sub_pd(_mm256_mul_pd(rkd, c), _mm256_mul_pd(ikd, s)));
  ik = _mm_sub_epi32(ii, ti);
  ii = _mm_add_epi32(ii, ti);
  rk = _mm_sub_epi32(ri, tr);
  ri = _mm_add_epi32(ri, tr);
}

MORVEX_AVX2 inline void Transpose4(__m128i& a, __m128i& b, __m128i& c, __m128i& d) {
  const __m128i ab0 = _mm_unpacklo_epi32(a, b);
  const __m128i ab1 = _mm_unpackhi_epi32(a, b);
  const __m128i cd0 = _mm_unpacklo_epi32(c, d);
  const __m128i cd1 = _mm_unpackhi_epi32(c, d);
  a = _mm_unpacklo_epi64(ab0, cd0);
  b = _mm_unpackhi_epi64(ab0, cd0);
  c = _mm_unpacklo_epi64(ab1, cd1);
  d = _mm_unpackhi_epi64(ab1, cd1);
}

// The start does sub-transforms of 16 entries (one cache line of output per row).
constexpr int kRowSize = 16;
constexpr int kRowBits = 4;

// Entry 0 of every level is the angle 0, so its butterfly is a plain sum and
// difference whenever that twiddle is exactly (1, 0), as it is for any finite step.
MORVEX_AVX2 inline void UnitButterfly4(__m128i& ri, __m128i& ii, __m128i& rk, __m128i& ik) {
  const __m128i r = ri;
  const __m128i i = ii;
  ri = _mm_add_epi32(r, rk);
  rk = _mm_sub_epi32(r, rk);
  ii = _mm_add_epi32(i, ik);
  ik = _mm_sub_epi32(i, ik);
}

// One level of four rows held lane by lane, every lane with the same twiddles.
template <int h, bool kUnitFirst>
MORVEX_AVX2 inline void RowLevel(__m128i* dr, __m128i* di, const double* cw, const double* sw) {
#pragma GCC unroll 16
  for (int g = 0; g < kRowSize; g += 2 * h) {
#pragma GCC unroll 16
    for (int i = 0; i < h; ++i) {
      if (kUnitFirst && i == 0) {
        UnitButterfly4(dr[g], di[g], dr[g + h], di[g + h]);
      } else {
        Butterfly4(dr[g + i], di[g + i], dr[g + i + h], di[g + i + h], _mm256_broadcast_sd(cw + h + i),
                   _mm256_broadcast_sd(sw + h + i));
      }
    }
  }
}

// Level h = 2 of real input, where every imaginary part is still zero: 0·c + r·s is
// r·s and r·c - 0·s is r·c exactly (cos and sin are finite or both not a number).
template <bool kUnitFirst>
MORVEX_AVX2 inline void RealRowLevel2(__m128i* dr, __m128i* di, const double* cw, const double* sw) {
  const __m256d c0 = _mm256_broadcast_sd(cw + 2);
  const __m256d s0 = _mm256_broadcast_sd(sw + 2);
  const __m256d c1 = _mm256_broadcast_sd(cw + 3);
  const __m256d s1 = _mm256_broadcast_sd(sw + 3);
#pragma GCC unroll 16
  for (int g = 0; g < kRowSize; g += 4) {
    for (int i = 0; i < 2; ++i) {
      const __m128i r = dr[g + i];
      if (kUnitFirst && i == 0) {
        dr[g] = _mm_add_epi32(r, dr[g + 2]);
        dr[g + 2] = _mm_sub_epi32(r, dr[g + 2]);
        di[g] = di[g + 2] = _mm_setzero_si128();
      } else {
        const __m256d rk = _mm256_cvtepi32_pd(dr[g + i + 2]);
        const __m128i ti = _mm256_cvttpd_epi32(_mm256_mul_pd(rk, i == 0 ? s0 : s1));
        const __m128i tr = _mm256_cvttpd_epi32(_mm256_mul_pd(rk, i == 0 ? c0 : c1));
        di[g + i] = ti;
        di[g + i + 2] = _mm_sub_epi32(_mm_setzero_si128(), ti);
        dr[g + i] = _mm_add_epi32(r, tr);
        dr[g + i + 2] = _mm_sub_epi32(r, tr);
      }
    }
  }
}

// Four rows at a time, one per lane. Output row R holds, in bit-reversed order, the
// inputs u, u + rows, u + 2·rows, ... with u = R bit-reversed, so four consecutive u
// read four adjacent inputs per entry; the first four levels run lane by lane with
// the same twiddles, and a transpose turns the lanes back into rows.
template <bool kComplex, bool kUnitFirst>
MORVEX_AVX2 void StartRows(const int32_t* xRe, const int32_t* xIm, int n, int32_t* re, int32_t* im, const double* cw,
                           const double* sw) {
  const int rows = n / kRowSize;
  const int rowBits = Log2(rows);
  const int half = n / 2;
  for (int u = 0; u < rows; u += 4) {
    __m128i dr[kRowSize];
    __m128i di[kRowSize];
#pragma GCC unroll 16
    for (int p = 0; p < kRowSize; p += 2) {
      const int from = ReverseBits(p, kRowBits) * rows + u;
      const __m128i a = LoadInts(xRe + from);
      const __m128i b = LoadInts(xRe + from + half);
      dr[p] = _mm_add_epi32(a, b);
      dr[p + 1] = _mm_sub_epi32(a, b);
      if constexpr (kComplex) {
        const __m128i ai = LoadInts(xIm + from);
        const __m128i bi = LoadInts(xIm + from + half);
        di[p] = _mm_add_epi32(ai, bi);
        di[p + 1] = _mm_sub_epi32(ai, bi);
      }
    }
    if constexpr (kComplex) {
      RowLevel<2, kUnitFirst>(dr, di, cw, sw);
    } else {
      RealRowLevel2<kUnitFirst>(dr, di, cw, sw);
    }
    RowLevel<4, kUnitFirst>(dr, di, cw, sw);
    RowLevel<8, kUnitFirst>(dr, di, cw, sw);
    int32_t* rowRe[4];
    int32_t* rowIm[4];
    for (int l = 0; l < 4; ++l) {
      const int row = ReverseBits(u + l, rowBits) * kRowSize;
      rowRe[l] = re + row;
      rowIm[l] = im + row;
    }
#pragma GCC unroll 4
    for (int p = 0; p < kRowSize; p += 4) {
      Transpose4(dr[p], dr[p + 1], dr[p + 2], dr[p + 3]);
      Transpose4(di[p], di[p + 1], di[p + 2], di[p + 3]);
      for (int l = 0; l < 4; ++l) {
        StoreInts(rowRe[l] + p, dr[p + l]);
        StoreInts(rowIm[l] + p, di[p + l]);
      }
    }
  }
}

template <typename T>
MORVEX_AVX2 int Radix2Start(const int32_t* xRe, const int32_t* xIm, int n, int32_t* re, int32_t* im, const T* c,
                            const T* s) {
  if (n < 4 * kRowSize) {
    return PortableStart(xRe, xIm, n, re, im, c, s);
  }
  // The twiddles of the levels h = 2, 4, 8 (at h + i), as doubles to broadcast.
  double cw[kRowSize];
  double sw[kRowSize];
  for (int k = 2; k < kRowSize; ++k) {
    cw[k] = c[k];
    sw[k] = s[k];
  }
  const bool unitFirst = cw[2] == 1.0 && sw[2] == 0.0 && cw[4] == 1.0 && sw[4] == 0.0 && cw[8] == 1.0 && sw[8] == 0.0;
  if (xIm == nullptr) {
    (unitFirst ? StartRows<false, true> : StartRows<false, false>)(xRe, xIm, n, re, im, cw, sw);
  } else {
    (unitFirst ? StartRows<true, true> : StartRows<true, false>)(xRe, xIm, n, re, im, cw, sw);
  }
  return kRowSize;
}

template <typename T>
MORVEX_AVX2 void Radix2Level(int32_t* re, int32_t* im, int n, int h, const T* c, const T* s) {
  if (h < 4) {
    // Only below the sizes the start covers.
    PortableLevel(re, im, n, h, c, s);
    return;
  }
  for (int g = 0; g < n; g += 2 * h) {
    int32_t* re0 = re + g;
    int32_t* im0 = im + g;
    int32_t* re1 = re0 + h;
    int32_t* im1 = im0 + h;
    for (int i = 0; i < h; i += 4) {
      __m128i ri = LoadInts(re0 + i);
      __m128i ii = LoadInts(im0 + i);
      __m128i rk = LoadInts(re1 + i);
      __m128i ik = LoadInts(im1 + i);
      Butterfly4(ri, ii, rk, ik, LoadTwiddles(c + i), LoadTwiddles(s + i));
      StoreInts(re0 + i, ri);
      StoreInts(im0 + i, ii);
      StoreInts(re1 + i, rk);
      StoreInts(im1 + i, ik);
    }
  }
}

// Four groups of four at a time, one per lane: group G holds the inputs u, u + n/4,
// u + n/2, u + 3n/4 with u = G digit-reversed, so four consecutive u read four
// adjacent inputs each; the size-4 transforms run lane by lane and a transpose turns
// the lanes back into groups.
MORVEX_AVX2 void Radix4Start(const int32_t* x, int n, int32_t* re, int32_t* im) {
  if (n < 16) {
    kPortableFftKernels.radix4Start(x, n, re, im);
    return;
  }
  const int groups = n / 4;
  const int groupDigits = Log2(groups) / 2;
  const __m256d c = _mm256_set1_pd(kQuarterTurnCos);
  const __m256d s = _mm256_set1_pd(kQuarterTurnSin);
  const __m256d zero = _mm256_setzero_pd();
  for (int u = 0; u < groups; u += 4) {
    const __m128i x0 = LoadInts(x + u);
    const __m128i x1 = LoadInts(x + groups + u);
    const __m128i x2 = LoadInts(x + 2 * groups + u);
    const __m128i x3 = LoadInts(x + 3 * groups + u);
    const __m128i re0 = _mm_add_epi32(x0, x2);
    const __m128i re1 = _mm_sub_epi32(x0, x2);
    const __m128i re2 = _mm_add_epi32(x1, x3);
    const __m128i re3 = _mm_sub_epi32(x1, x3);
    const __m256d re3d = _mm256_cvtepi32_pd(re3);
    const __m128i ta3 = _mm256_cvttpd_epi32(_mm256_add_pd(_mm256_mul_pd(zero, c), _mm256_mul_pd(re3d, s)));
    const __m128i tb3 = _mm256_cvttpd_epi32(_mm256_sub_pd(_mm256_mul_pd(re3d, c), _mm256_mul_pd(zero, s)));
    __m128i r0 = _mm_add_epi32(re0, re2);
    __m128i r1 = _mm_add_epi32(re1, tb3);
    __m128i r2 = _mm_sub_epi32(re0, re2);
    __m128i r3 = _mm_sub_epi32(re1, tb3);
    __m128i i0 = _mm_setzero_si128();
    __m128i i1 = ta3;
    __m128i i2 = _mm_setzero_si128();
    __m128i i3 = _mm_sub_epi32(_mm_setzero_si128(), ta3);
    Transpose4(r0, r1, r2, r3);
    Transpose4(i0, i1, i2, i3);
    const __m128i rows[2][4] = {{r0, r1, r2, r3}, {i0, i1, i2, i3}};
    for (int l = 0; l < 4; ++l) {
      const int g = 4 * ReverseDigits4(u + l, groupDigits);
      StoreInts(re + g, rows[0][l]);
      StoreInts(im + g, rows[1][l]);
    }
  }
}

// Adds one twiddled quarter to four outputs; each of the two sums is truncated on
// its own before the next quarter is added.
MORVEX_AVX2 inline void AddQuarter4(__m128i& ta, __m128i& tb, __m256d re, __m256d im, __m256d c, __m256d s) {
  ta = _mm256_cvttpd_epi32(
      _mm256_add_pd(_mm256_add_pd(_mm256_cvtepi32_pd(ta), _mm256_mul_pd(re, s)), _mm256_mul_pd(im, c)));
  tb = _mm256_cvttpd_epi32(
      _mm256_sub_pd(_mm256_add_pd(_mm256_cvtepi32_pd(tb), _mm256_mul_pd(re, c)), _mm256_mul_pd(im, s)));
}

MORVEX_AVX2 void Radix4Level(int32_t* re, int32_t* im, int n, int m, const Radix4LevelTwiddles& t) {
  const int q = m / 4;
  for (int g = 0; g < n; g += m) {
    int32_t* r = re + g;
    int32_t* x = im + g;
    // Output 0 is the plain integer sum of the four quarters.
    const int32_t firstRe = WrapAdd(WrapAdd(r[0], r[q]), WrapAdd(r[2 * q], r[3 * q]));
    const int32_t firstIm = WrapAdd(WrapAdd(x[0], x[q]), WrapAdd(x[2 * q], x[3 * q]));
    for (int a = 0; a < q; a += 4) {
      const __m128i ra = LoadInts(r + a);
      const __m128i ia = LoadInts(x + a);
      const __m256d rb = _mm256_cvtepi32_pd(LoadInts(r + a + q));
      const __m256d ib = _mm256_cvtepi32_pd(LoadInts(x + a + q));
      const __m256d rc = _mm256_cvtepi32_pd(LoadInts(r + a + 2 * q));
      const __m256d ic = _mm256_cvtepi32_pd(LoadInts(x + a + 2 * q));
      const __m256d rd = _mm256_cvtepi32_pd(LoadInts(r + a + 3 * q));
      const __m256d id = _mm256_cvtepi32_pd(LoadInts(x + a + 3 * q));
      __m128i outRe[4];
      __m128i outIm[4];
      for (int j = 0; j < 4; ++j) {
        const int k = a + j * q;
        __m128i ta = ia;
        __m128i tb = ra;
        AddQuarter4(ta, tb, rb, ib, LoadTwiddles(t.c1 + k), LoadTwiddles(t.s1 + k));
        AddQuarter4(ta, tb, rc, ic, LoadTwiddles(t.c2 + k), LoadTwiddles(t.s2 + k));
        AddQuarter4(ta, tb, rd, id, LoadTwiddles(t.c3 + k), LoadTwiddles(t.s3 + k));
        outRe[j] = tb;
        outIm[j] = ta;
      }
      for (int j = 0; j < 4; ++j) {
        StoreInts(r + a + j * q, outRe[j]);
        StoreInts(x + a + j * q, outIm[j]);
      }
    }
    r[0] = firstRe;
    x[0] = firstIm;
  }
}

const FftKernels kAvx2FftKernels = {
    .name = "avx2",
    .radix2Start = Radix2Start<float>,
    .radix2StartDirect = Radix2Start<double>,
    .radix2Level = Radix2Level<float>,
    .radix2LevelDirect = Radix2Level<double>,
    .radix4Start = Radix4Start,
    .radix4Level = Radix4Level,
};

}  // namespace

const FftKernels* Avx2FftKernels() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") ? &kAvx2FftKernels : nullptr;
}

#else

const FftKernels* Avx2FftKernels() { return nullptr; }

#endif
