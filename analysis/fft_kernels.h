// The inner passes of the FFT engine, in a portable form and in vector forms chosen
// at run time by what the processor offers. Every form gives the same bits: the
// products are formed in double precision without fused multiply-add and truncated
// toward zero, the sums wrap in 32 bits.
#pragma once

#include <cstdint>

#include "analysis/fft_tables.h"

struct FftKernels {
  const char* name;
  // One radix-2 level over n entries of Re/Im, in place: every group of 2h entries
  // (h >= 2) gets the butterfly of its two halves with twiddles c[i], s[i], i < h.
  void (*radix2Level)(int32_t* re, int32_t* im, int n, int h, const float* c, const float* s);
  void (*radix2LevelDirect)(int32_t* re, int32_t* im, int n, int h, const double* c, const double* s);
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
