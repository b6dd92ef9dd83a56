// The three radix-2 routines. Decimation in time done iteratively: one bit-reversal
// pass that also does the size-2 transforms, then one in-place pass per level.
#include <algorithm>

#include "analysis/fft.h"
#include "analysis/fft_arith.h"
#include "analysis/fft_kernels.h"
#include "analysis/fft_tables.h"

namespace {

// Each routine has its own tables: FftRadix2 runs on the FFT thread, the other two
// on the playback thread.
Radix2Twiddles<float> radix2Twiddles;
Radix2Twiddles<float> complexTwiddles;
Radix2Twiddles<double> directTwiddles;

// Bit-reversal order fused with the size-2 transforms of real input: entries 2m and
// 2m+1 come from x[r] and x[r + n/2], r being 2m bit-reversed.
void ReorderRealPairs(const int32_t* x, int n, int32_t* Im, int32_t* Re) {
  const int bits = Log2(n);
  const int half = n / 2;
  for (int m = 0; m < half; ++m) {
    const int r = ReverseBits(2 * m, bits);
    Re[2 * m] = WrapAdd(x[r], x[r + half]);
    Re[2 * m + 1] = WrapSub(x[r], x[r + half]);
  }
  std::fill(Im, Im + n, 0);
}

// The same for complex input, from Re/Im into the scratch arrays and back.
void ReorderComplexPairs(int n, int32_t* Im, int32_t* Re, int32_t* Ta, int32_t* Tb) {
  const int bits = Log2(n);
  const int half = n / 2;
  for (int m = 0; m < half; ++m) {
    const int r = ReverseBits(2 * m, bits);
    Ta[2 * m] = WrapAdd(Re[r], Re[r + half]);
    Ta[2 * m + 1] = WrapSub(Re[r], Re[r + half]);
    Tb[2 * m] = WrapAdd(Im[r], Im[r + half]);
    Tb[2 * m + 1] = WrapSub(Im[r], Im[r + half]);
  }
  std::copy(Ta, Ta + n, Re);
  std::copy(Tb, Tb + n, Im);
}

template <typename T, typename Level>
void RemainingLevels(int n, int32_t* Im, int32_t* Re, const Radix2Twiddles<T>& t, Level level) {
  for (int h = 2; h < n; h *= 2) {
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
  ReorderRealPairs(x, n, Im, Re);
  RemainingLevels(n, Im, Re, radix2Twiddles, ActiveFftKernels().radix2Level);
}

int FftRadix2Direct(int32_t* x, int n, int32_t* Im, int32_t* Re, int32_t* /*Ta*/, int32_t* /*Tb*/) {
  if (!IsFftSize(n)) {
    return 0;
  }
  if (directTwiddles.size != n) {
    FillDirectTwiddles(directTwiddles, n);
  }
  ReorderRealPairs(x, n, Im, Re);
  RemainingLevels(n, Im, Re, directTwiddles, ActiveFftKernels().radix2LevelDirect);
  return 0;
}

void FftComplexRadix2(int n, int32_t* Im, int32_t* Re, int32_t* Ta, int32_t* Tb, float step) {
  if (!IsFftSize(n)) {
    return;
  }
  if (complexTwiddles.size != n) {
    FillRadix2Twiddles(complexTwiddles, n, step);
  }
  ReorderComplexPairs(n, Im, Re, Ta, Tb);
  RemainingLevels(n, Im, Re, complexTwiddles, ActiveFftKernels().radix2Level);
}
