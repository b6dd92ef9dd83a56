// The three radix-2 routines. Decimation in time done iteratively: one pass in
// bit-reversed order that also does the smallest transforms, then one in-place pass
// per level.
#include <algorithm>

#include "analysis/fft.h"
#include "analysis/fft_kernels.h"
#include "analysis/fft_tables.h"

namespace {

// Each routine has its own tables: FftRadix2 runs on the FFT thread, the other two
// on the playback thread.
Radix2Twiddles<float> radix2Twiddles;
Radix2Twiddles<float> complexTwiddles;
Radix2Twiddles<double> directTwiddles;

// Decimation in time over the block xRe (and xIm, or zeros): the bit-reversed
// start with the smallest sizes, then one pass per remaining level, into Re/Im.
template <typename T, typename Start, typename Level>
void Transform(const int32_t* xRe, const int32_t* xIm, int n, int32_t* Im, int32_t* Re, const Radix2Twiddles<T>& t,
               Start start, Level level) {
  for (int h = start(xRe, xIm, n, Re, Im, t.cos, t.sin); h < n; h *= 2) {
    level(Re, Im, n, h, t.cos + h, t.sin + h);
  }
}

}  // namespace

void FftRadix2(int32_t* x, int n, int32_t* Im, int32_t* Re, int32_t* /*Ta*/, int32_t* /*Tb*/, float step) {
  if (!IsFftSize(n)) {
    return;
  }
  if (radix2Twiddles.size != n) {
    FillRadix2Twiddles(radix2Twiddles, n, step);
  }
  const FftKernels& kernels = ActiveFftKernels();
  Transform(x, nullptr, n, Im, Re, radix2Twiddles, kernels.radix2Start, kernels.radix2Level);
}

int FftRadix2Direct(int32_t* x, int n, int32_t* Im, int32_t* Re, int32_t* /*Ta*/, int32_t* /*Tb*/) {
  if (!IsFftSize(n)) {
    return 0;
  }
  if (directTwiddles.size != n) {
    FillDirectTwiddles(directTwiddles, n);
  }
  const FftKernels& kernels = ActiveFftKernels();
  Transform(x, nullptr, n, Im, Re, directTwiddles, kernels.radix2StartDirect, kernels.radix2LevelDirect);
  return 0;
}

void FftComplexRadix2(int n, int32_t* Im, int32_t* Re, int32_t* Ta, int32_t* Tb, float step) {
  if (!IsFftSize(n)) {
    return;
  }
  if (complexTwiddles.size != n) {
    FillRadix2Twiddles(complexTwiddles, n, step);
  }
  // The start reads the whole block before the output is complete: it reads a copy.
  std::copy(Re, Re + n, Ta);
  std::copy(Im, Im + n, Tb);
  const FftKernels& kernels = ActiveFftKernels();
  Transform(Ta, Tb, n, Im, Re, complexTwiddles, kernels.radix2Start, kernels.radix2Level);
}
