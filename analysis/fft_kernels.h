// The inner passes of the FFT engine, in a portable form and in vector forms chosen
// at run time by what the processor offers. Every form gives the same bits: the
// products are formed in double precision without fused multiply-add and truncated
// toward zero, the sums wrap in 32 bits.
#pragma once

#include <cstdint>

#include "analysis/fft_tables.h"

struct FftKernels {
  const char* name;
  // Bit-reversed order and the transforms of the smallest sizes in one pass: reads
  // the block xRe (and xIm, or zeros when xIm is null) and writes Re/Im; c and s are
  // the whole twiddle tables (level h at h + i). Returns the size of the sub-transforms
  // completed: the first level left to do has h = that size.
  int (*radix2Start)(const int32_t* xRe, const int32_t* xIm, int n, int32_t* re, int32_t* im, const float* c,
                     const float* s);
  int (*radix2StartDirect)(const int32_t* xRe, const int32_t* xIm, int n, int32_t* re, int32_t* im, const double* c,
                           const double* s);
  // One radix-2 level over n entries of Re/Im, in place: every group of 2h entries
  // (h >= 2) gets the butterfly of its two halves with twiddles c[i], s[i], i < h.
  void (*radix2Level)(int32_t* re, int32_t* im, int n, int h, const float* c, const float* s);
  void (*radix2LevelDirect)(int32_t* re, int32_t* im, int n, int h, const double* c, const double* s);
  // Base-4 digit-reversed order and the size-4 transforms in one pass, from the real
  // block x into Re/Im.
  void (*radix4Start)(const int32_t* x, int n, int32_t* re, int32_t* im);
  // One radix-4 level over n entries of Re/Im, in place: every group of m entries
  // (m >= 16) is combined from its four quarters.
  void (*radix4Level)(int32_t* re, int32_t* im, int n, int m, const Radix4LevelTwiddles& t);
};

extern const FftKernels kPortableFftKernels;

// The AVX2 kernels, or null when this processor (or this build) has none.
const FftKernels* Avx2FftKernels();

// The kernels the transforms use: the fastest this processor runs, unless another
// set was selected.
const FftKernels& ActiveFftKernels();
void SelectFftKernels(const FftKernels& kernels);
