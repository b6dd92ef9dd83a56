#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/fft.h"
#include "fft_reference.h"
#include "fft_test_signals.h"
#include "fft_test_support.h"

namespace {

using fftsignals::Block;

using fftsupport::SameSpectrum;
using fftsupport::Spectrum;

Spectrum RunRadix4(Block x) {
  const int n = static_cast<int>(x.size());
  Spectrum s{Block(n, 7), Block(n, -7)};
  Block ta(n, 12345), tb(n, -12345);
  FftRadix4(x.data(), n, s.im.data(), s.re.data(), ta.data(), tb.data());
  return s;
}

Spectrum RunRadix2(Block x) {
  const int n = static_cast<int>(x.size());
  Spectrum s{Block(n), Block(n)};
  Block ta(n), tb(n);
  FftRadix2(x.data(), n, s.im.data(), s.re.data(), ta.data(), tb.data(), 6.2831855f / static_cast<float>(n));
  return s;
}

Spectrum ReferenceRadix4(Block x) {
  const int n = static_cast<int>(x.size());
  Spectrum s{Block(n), Block(n)};
  Block ta(n), tb(n);
  fftref::FftRadix4(x.data(), n, s.im.data(), s.re.data(), ta.data(), tb.data());
  return s;
}

class FftRadix4Kernels : public fftsupport::KernelTest {};

// Powers of four take the radix-4 path, the other sizes the radix-2 one.
TEST_P(FftRadix4Kernels, MatchesTheReferenceAtEverySize) {
  for (int n = 4; n <= kFftMaxSize; n *= 2) {
    for (const auto& [name, x] : fftsignals::RealBlocks(n, 2000u)) {
      SCOPED_TRACE("n = " + std::to_string(n) + ", " + name);
      EXPECT_TRUE(SameSpectrum(ReferenceRadix4(x), RunRadix4(x)));
    }
  }
}

TEST_P(FftRadix4Kernels, OverflowingInputGivesTheReferenceBits) {
  for (int n : {16, 64, 1024}) {
    SCOPED_TRACE("n = " + std::to_string(n));
    Block x = fftsignals::Random16(n, 98u);
    for (int32_t& v : x) {
      v *= 65536;
    }
    EXPECT_TRUE(SameSpectrum(ReferenceRadix4(x), RunRadix4(x)));
  }
}

INSTANTIATE_TEST_SUITE_P(AllKernels, FftRadix4Kernels, ::testing::ValuesIn(fftsupport::AvailableKernels()),
                         fftsupport::KernelName);

TEST(FftRadix4, SizesThatAreNotPowersOfFourGiveTheRadix2Result) {
  for (int n : {2, 8, 32, 128, 2048, 32768}) {
    SCOPED_TRACE("n = " + std::to_string(n));
    const Block x = fftsignals::Random16(n, 21u + n);
    EXPECT_TRUE(SameSpectrum(RunRadix2(x), RunRadix4(x)));
  }
}

// Radix 4 truncates each twiddled term on its own, a few units per term and level;
// its angles are also accumulated in float, off by up to n half-ulps of 2π at the
// end of a table, which rotates each term by that much.
double Radix4Tolerance(int n, double largestMagnitude) {
  const int levels = fftref::Log2(n) / 2;
  return 4.0 * levels * levels + n * std::ldexp(1.0, -22) * largestMagnitude;
}

double Magnitude(const Spectrum& s, int k) { return std::hypot(static_cast<double>(s.re[k]), s.im[k]); }

TEST(FftRadix4, AgreesWithRadix2WithinTheTruncationError) {
  for (int n = 16; n <= 16384; n *= 4) {
    SCOPED_TRACE("n = " + std::to_string(n));
    const int levels = fftref::Log2(n) / 2;
    for (const Block& x :
         {fftsignals::Random16(n, 31u + n), fftsignals::Tone(n, 5, 30000.0, true), fftsignals::Constant(n, -32768)}) {
      const Spectrum r4 = RunRadix4(x);
      const Spectrum r2 = RunRadix2(x);
      double largest = 0.0;
      for (int k = 0; k < n; ++k) {
        largest = std::max(largest, Magnitude(r2, k));
      }
      const double tolerance = Radix4Tolerance(n, largest);
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

TEST(FftRadix4, ConstantBlockGivesTheDcBinAndNearZeroElsewhere) {
  for (int n : {16, 64, 4096, 16384}) {
    for (int32_t v : {32767, -32768}) {
      SCOPED_TRACE("n = " + std::to_string(n) + ", v = " + std::to_string(v));
      const Spectrum s = RunRadix4(fftsignals::Constant(n, v));
      EXPECT_EQ(s.re[0], n * v);
      EXPECT_EQ(s.im[0], 0);
      const double tolerance = Radix4Tolerance(n, std::abs(static_cast<double>(n) * v));
      for (int k = 1; k < n; ++k) {
        ASSERT_LE(Magnitude(s, k), tolerance) << "bin " << k;
      }
    }
  }
}

TEST(FftRadix4, SineShowsThePositiveImaginaryPartAtItsBin) {
  const int n = 1024;
  const int f = 100;
  const Spectrum s = RunRadix4(fftsignals::Tone(n, f, 20000.0, true));
  EXPECT_NEAR(s.im[f], 20000.0 * n / 2, n);
  EXPECT_NEAR(s.im[n - f], -20000.0 * n / 2, n);
  EXPECT_NEAR(s.re[f], 0.0, n);
}

TEST(FftRadix4, TablesReadGiveWhatTablesFilledGave) {
  const Block big = fftsignals::Random16(4096, 41u);
  const Block small = fftsignals::Random16(64, 42u);
  RunRadix4(small);
  const Spectrum filled = RunRadix4(big);
  EXPECT_TRUE(SameSpectrum(filled, RunRadix4(big)));
  RunRadix4(small);
  EXPECT_TRUE(SameSpectrum(filled, RunRadix4(big)));
}

}  // namespace
