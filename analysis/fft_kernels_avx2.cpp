// AVX2 forms of the FFT passes: four butterflies or four outputs per step, with the
// twiddle products in four-lane double vectors. Only separate multiplies and adds
// are used (no fused multiply-add), and the vector truncation gives INT32_MIN out of
// range exactly as the scalar one does, so the results equal the portable kernels.
#include "analysis/fft_kernels.h"

#include "analysis/fft_arith.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#define MORVEX_AVX2 __attribute__((target("avx2")))

namespace {

MORVEX_AVX2 inline __m256d LoadTwiddles(const float* p) { return _mm256_cvtps_pd(_mm_loadu_ps(p)); }
MORVEX_AVX2 inline __m256d LoadTwiddles(const double* p) { return _mm256_loadu_pd(p); }

MORVEX_AVX2 inline __m128i LoadInts(const int32_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
MORVEX_AVX2 inline void StoreInts(int32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

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

// The level with h = 2: two groups of four entries per step, the halves of both
// gathered into one vector each.
template <typename T>
MORVEX_AVX2 void Radix2LevelPairs(int32_t* re, int32_t* im, int n, const T* c, const T* s) {
  const T c4[4] = {c[0], c[1], c[0], c[1]};
  const T s4[4] = {s[0], s[1], s[0], s[1]};
  const __m256d cv = LoadTwiddles(c4);
  const __m256d sv = LoadTwiddles(s4);
  for (int g = 0; g < n; g += 8) {
    const __m128i ra = LoadInts(re + g);
    const __m128i rb = LoadInts(re + g + 4);
    const __m128i ia = LoadInts(im + g);
    const __m128i ib = LoadInts(im + g + 4);
    __m128i ri = _mm_unpacklo_epi64(ra, rb);
    __m128i rk = _mm_unpackhi_epi64(ra, rb);
    __m128i ii = _mm_unpacklo_epi64(ia, ib);
    __m128i ik = _mm_unpackhi_epi64(ia, ib);
    Butterfly4(ri, ii, rk, ik, cv, sv);
    StoreInts(re + g, _mm_unpacklo_epi64(ri, rk));
    StoreInts(re + g + 4, _mm_unpackhi_epi64(ri, rk));
    StoreInts(im + g, _mm_unpacklo_epi64(ii, ik));
    StoreInts(im + g + 4, _mm_unpackhi_epi64(ii, ik));
  }
}

template <typename T>
MORVEX_AVX2 void Radix2Level(int32_t* re, int32_t* im, int n, int h, const T* c, const T* s) {
  if (h < 4) {
    if (n < 8) {
      PortableLevel(re, im, n, h, c, s);
    } else {
      Radix2LevelPairs(re, im, n, c, s);
    }
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

const FftKernels kAvx2FftKernels = {"avx2", Radix2Level<float>, Radix2Level<double>, Radix4Level};

}  // namespace

const FftKernels* Avx2FftKernels() { return __builtin_cpu_supports("avx2") ? &kAvx2FftKernels : nullptr; }

#else

const FftKernels* Avx2FftKernels() { return nullptr; }

#endif
