// The radix-4 routine. Decimation in time done iteratively: one pass in base-4
// digit-reversed order that also does the size-4 transforms, then one in-place pass
// per level.
#include "analysis/fft.h"
#include "analysis/fft_arith.h"
#include "analysis/fft_kernels.h"
#include "analysis/fft_tables.h"

namespace {

Radix4Twiddles radix4Twiddles;

}  // namespace

void FftRadix4(int32_t* x, int n, int32_t* Im, int32_t* Re, int32_t* Ta, int32_t* Tb) {
  if (!IsRadix4Size(n)) {
    FftRadix2(x, n, Im, Re, Ta, Tb, kTwoPi / static_cast<float>(n));
    return;
  }
  if (radix4Twiddles.size != n) {
    FillRadix4Twiddles(radix4Twiddles, n);
  }
  const FftKernels& kernels = ActiveFftKernels();
  kernels.radix4Start(x, n, Re, Im);
  for (int m = 16; m <= n; m *= 4) {
    kernels.radix4Level(Re, Im, n, m, Radix4Level(radix4Twiddles, m));
  }
}
