// The radix-4 routine. Decimation in time done iteratively: one pass in base-4
// digit-reversed order that also does the size-4 transforms, then one in-place pass
// per level.
#include <cmath>

#include "analysis/fft.h"
#include "analysis/fft_arith.h"
#include "analysis/fft_kernels.h"
#include "analysis/fft_tables.h"

namespace {

Radix4Twiddles radix4Twiddles;

// The quarter-turn twiddle of the size-4 transform, from π/2 in double rounded to float.
const float kQuarterCos = static_cast<float>(std::cos(static_cast<double>(kPi) / 2.0));
const float kQuarterSin = static_cast<float>(std::sin(static_cast<double>(kPi) / 2.0));

// The size-4 transform of (x0, x1, x2, x3), taken in the order (x0, x2, x1, x3):
// two size-2 transforms and one butterfly, the second pair twiddled by a quarter turn.
void Transform4(const int32_t* x, int32_t* Im, int32_t* Re) {
  const int32_t y0 = x[0];
  const int32_t y1 = x[2];
  const int32_t y2 = x[1];
  const int32_t y3 = x[3];
  const int32_t re0 = WrapAdd(y0, y1);
  const int32_t re1 = WrapSub(y0, y1);
  const int32_t re2 = WrapAdd(y2, y3);
  const int32_t re3 = WrapSub(y2, y3);
  const double im3 = 0.0;
  const int32_t ta3 = TruncToInt32(im3 * kQuarterCos + re3 * static_cast<double>(kQuarterSin));
  const int32_t tb3 = TruncToInt32(re3 * static_cast<double>(kQuarterCos) - im3 * kQuarterSin);
  Re[0] = WrapAdd(re0, re2);
  Re[1] = WrapAdd(re1, tb3);
  Re[2] = WrapSub(re0, re2);
  Re[3] = WrapSub(re1, tb3);
  Im[0] = 0;
  Im[1] = ta3;
  Im[2] = 0;
  Im[3] = WrapSub(0, ta3);
}

}  // namespace

void FftRadix4(int32_t* x, int n, int32_t* Im, int32_t* Re, int32_t* Ta, int32_t* Tb) {
  if (!IsRadix4Size(n)) {
    FftRadix2(x, n, Im, Re, Ta, Tb, kTwoPi / static_cast<float>(n));
    return;
  }
  if (radix4Twiddles.size != n) {
    FillRadix4Twiddles(radix4Twiddles, n);
  }
  // Gather each group of four in digit-reversed order (into Ta) and transform it.
  const int digits = Log2(n) / 2;
  for (int g = 0; g < n; g += 4) {
    for (int j = 0; j < 4; ++j) {
      Ta[g + j] = x[ReverseDigits4(g + j, digits)];
    }
    Transform4(Ta + g, Im + g, Re + g);
  }
  const FftKernels& kernels = ActiveFftKernels();
  for (int m = 16; m <= n; m *= 4) {
    kernels.radix4Level(Re, Im, n, m, Radix4Level(radix4Twiddles, m));
  }
}
