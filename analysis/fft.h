// The integer FFT engine: real or complex blocks of signed 32-bit samples in, an
// unnormalised spectrum out as separate Re and Im arrays of n entries.
//
// Every twiddle is cos θ + j·sin θ with θ = +2π·k/n, so X[k] = Σ x[m]·e^(+j2πmk/n),
// the conjugate of the usual forward DFT for real input (magnitudes are the same).
// Each twiddle product is formed in double precision and truncated toward zero; the
// butterfly sums are 32-bit integer sums.
//
// n must be a power of two from 2 to 32768 (FftRadix4: see below); a call with any
// other n leaves every array untouched. Each call is an outermost call of size n:
// the caching routines keep their own twiddle tables, refilled whenever n differs
// from the size they were last filled for. The contents of x, Ta and Tb are
// unspecified after a call. Each routine must be driven by one thread at a time;
// different routines may run on different threads.
#pragma once

#include <cstdint>

inline constexpr int kFftMaxSize = 32768;

// Real input x, radix 2 with cached float twiddles; step is 6.2831855f / n.
void FftRadix2(int32_t* x, int n, int32_t* Im, int32_t* Re, int32_t* Ta, int32_t* Tb, float step);

// Real input x, radix 4 with cached float twiddles. For an n that is not a power of
// four (4 ... 16384) it gives exactly what FftRadix2 gives for that n.
void FftRadix4(int32_t* x, int n, int32_t* Im, int32_t* Re, int32_t* Ta, int32_t* Tb);

// Real input x, radix 2 with twiddles in double precision (not rounded to float).
// Returns 0.
int FftRadix2Direct(int32_t* x, int n, int32_t* Im, int32_t* Re, int32_t* Ta, int32_t* Tb);

// Complex input in Re/Im, transformed in place; twiddles as FftRadix2.
void FftComplexRadix2(int n, int32_t* Im, int32_t* Re, int32_t* Ta, int32_t* Tb, float step);
