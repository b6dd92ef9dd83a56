#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "analysis/fft.h"
#include "fft_reference.h"
#include "fft_test_signals.h"
#include "fft_test_support.h"

namespace {

using fftsignals::Block;
using fftsupport::SameSpectrum;
using fftsupport::Spectrum;

Spectrum RunRadix4(const Block& x) {
  return fftsupport::Real(x, [](auto... a) { FftRadix4(a...); });
}

class FftRadix4Kernels : public fftsupport::KernelTest {};

// Powers of four take the radix-4 path, the other sizes the radix-2 one; the first block
// of each size fills the tables, the later ones read them.
TEST_P(FftRadix4Kernels, MatchesTheReferenceAtEverySize) {
  for (int n = 4; n <= kFftMaxSize; n *= 2) {
    for (const auto& [name, x] : fftsignals::RealBlocks(n, 2000u)) {
      SCOPED_TRACE("n = " + std::to_string(n) + ", " + name);
      EXPECT_TRUE(SameSpectrum(fftsupport::Real(x, [](auto... a) { fftref::FftRadix4(a...); }), RunRadix4(x)));
    }
  }
}

TEST_P(FftRadix4Kernels, OverflowingInputGivesTheReferenceBits) {
  for (int n : {16, 64, 1024}) {
    SCOPED_TRACE("n = " + std::to_string(n));
    Block x = fftsignals::Random16(n, 98u);
    for (int32_t& v : x) v *= 65536;
    EXPECT_TRUE(SameSpectrum(fftsupport::Real(x, [](auto... a) { fftref::FftRadix4(a...); }), RunRadix4(x)));
  }
}

INSTANTIATE_TEST_SUITE_P(AllKernels, FftRadix4Kernels, ::testing::ValuesIn(fftsupport::AvailableKernels()),
                         fftsupport::KernelName);

double Magnitude(const Spectrum& s, int k) { return std::hypot(static_cast<double>(s.re[k]), s.im[k]); }

// Radix 4 truncates each twiddled term on its own, a few units per term and level;
// its angles are also accumulated in float, off by up to n half-ulps of 2π at the
// end of a table, which rotates each term by that much. The constant block checks
// the level of the DC bin and the silence elsewhere, the sine the sign of each part.
TEST(FftRadix4, AgreesWithRadix2WithinTheTruncationError) {
  for (int n = 16; n <= 16384; n *= 4) {
    SCOPED_TRACE("n = " + std::to_string(n));
    const int levels = fftref::Log2(n) / 2;
    for (const Block& x : {fftsignals::Random16(n, 31u + n), fftsignals::Tone(n, 5, 30000.0, true), Block(n, -32768)}) {
      const Spectrum r4 = RunRadix4(x);
      const Spectrum r2 = fftsupport::Real(x, [n](auto... a) { FftRadix2(a..., fftsupport::Step(n)); });
      double largest = 0.0;
      for (int k = 0; k < n; ++k) largest = std::max(largest, Magnitude(r2, k));
      const double tolerance = 4.0 * levels * levels + n * std::ldexp(1.0, -22) * largest;
      for (int k = 0; k < n; ++k) {
        ASSERT_NEAR(Magnitude(r4, k), Magnitude(r2, k), tolerance) << "bin " << k;
        if (n <= 256) {
          // Where the angle error is negligible the parts agree on their own.
          ASSERT_LE(std::abs(r4.re[k] - r2.re[k]), 4 * levels * levels) << "bin " << k;
          ASSERT_LE(std::abs(r4.im[k] - r2.im[k]), 4 * levels * levels) << "bin " << k;
        }
      }
    }
  }
}

}  // namespace
