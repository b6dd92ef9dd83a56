// The three filters of the analysis cycle, applied in this order to the magnitudes of one
// transform of size n: pink-noise flattening, the loudness correction of low frequencies and the
// smoothing in time. rate is the analysis rate R, so bin k stands for the frequency k·R/n.
//
// The arithmetic is the cycle's own: integer frequencies, factors in double precision, results
// truncated toward zero. A result beyond the 32-bit range (a loud high tone at a large n can pass
// it after the factor 8) is held at the largest magnitude instead of wrapping to a negative one.
#pragma once

#include <cstdint>

#include "shared/shared_spectrum.h"

// Values of the `smoothingfilter` setting.
enum SmoothingKind : int32_t { kSmoothingNone = 0, kSmoothingNormal = 1, kSmoothingLight = 2 };

// The filtered output of the previous cycle, one entry per bin; zero at process start and never
// cleared, so it carries over between playbacks and size changes. FFT thread only.
extern int32_t SmoothingHistory[kSpectrumRoom];

// Bins n/2 down to 1 (bin 0 stays): factor 8 at and above 28160 Hz, and each octave edge of
// 27.5 Hz passed on the way down divides it by one more, down to 8/15 below 3.4375 Hz.
void FlattenPinkNoise(int32_t* bins, int32_t n, int32_t rate);

// Bins 0 ... n/2-1 up to 200 Hz: 0 Hz halved, then a divisor falling linearly from 2 to 1 at
// 200 Hz; the walk stops at the first bin above 200 Hz.
void CorrectLoudness(int32_t* bins, int32_t n, int32_t rate);

// Bins 0 ... n/2-1 against `history` (the previous output), which receives the new output:
// normal averages the halves of both, light weighs the new spectrum two to one. Other kinds leave
// both arrays alone.
void SmoothInTime(int32_t* bins, int32_t n, int32_t kind, int32_t* history);
