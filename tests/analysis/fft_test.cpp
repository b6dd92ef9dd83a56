#include "analysis/fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "analysis/fft_kernels.h"
#include "fft_reference.h"

namespace {

using Block = std::vector<int32_t>;

struct Spectrum {
  Block re;
  Block im;
};

::testing::AssertionResult SameSpectrum(const Spectrum& expected, const Spectrum& actual) {
  for (size_t k = 0; k < expected.re.size(); ++k) {
    if (expected.re[k] != actual.re[k] || expected.im[k] != actual.im[k]) {
      return ::testing::AssertionFailure() << "bin " << k << " of " << expected.re.size() << ": expected ("
                                           << expected.re[k] << ", " << expected.im[k] << "), got (" << actual.re[k]
                                           << ", " << actual.im[k] << ")";
    }
  }
  return ::testing::AssertionSuccess();
}

float Step(int n) { return fftref::kTwoPi / static_cast<float>(n); }

// A real transform fft(x, n, im, re, ta, tb) of a copy of x; outputs and scratch start as
// garbage so that no routine can rely on their contents.
template <typename Fft>
Spectrum Real(Block x, Fft fft) {
  const int n = static_cast<int>(x.size());
  Spectrum s{Block(n, 7), Block(n, -7)};
  Block ta(n, 12345), tb(n, -12345);
  fft(x.data(), n, s.im.data(), s.re.data(), ta.data(), tb.data());
  return s;
}

// A complex transform fft(n, im, re, ta, tb) in place on a copy of s.
template <typename Fft>
Spectrum Complex(Spectrum s, Fft fft) {
  const int n = static_cast<int>(s.re.size());
  Block ta(n, 12345), tb(n, -12345);
  fft(n, s.im.data(), s.re.data(), ta.data(), tb.data());
  return s;
}

Spectrum Radix2(const Block& x, float step) {
  return Real(x, [step](auto... a) { FftRadix2(a..., step); });
}
Spectrum Radix2(const Block& x) { return Radix2(x, Step(static_cast<int>(x.size()))); }
Spectrum Direct(const Block& x) {
  return Real(x, [](auto... a) { EXPECT_EQ(FftRadix2Direct(a...), 0); });
}
Spectrum Radix4(const Block& x) {
  return Real(x, [](auto... a) { FftRadix4(a...); });
}
Spectrum ComplexRadix2(const Spectrum& s) {
  return Complex(s, [](int n, auto... a) { FftComplexRadix2(n, a..., Step(n)); });
}

Block Random16(int n, uint32_t seed) {
  std::mt19937 rng(seed);
  Block x(n);
  for (int32_t& v : x) v = static_cast<int32_t>(rng() % 65536) - 32768;
  return x;
}

// A tone of integer frequency f cycles per block, rounded to integers.
Block Tone(int n, int f, double amplitude, bool sine) {
  Block x(n);
  for (int i = 0; i < n; ++i) {
    const double angle = 2.0 * M_PI * f * i / n;
    x[i] = static_cast<int32_t>(std::lround(amplitude * (sine ? std::sin(angle) : std::cos(angle))));
  }
  return x;
}

// The extremes, random full-range blocks (fewer at the big sizes) and, at a few sizes, samples
// so large that sums wrap and products leave the 32-bit range.
std::vector<Block> TestBlocks(int n) {
  Block alternating(n), impulse(n, 0), afterMiddle(n, 0);
  for (int i = 0; i < n; ++i) alternating[i] = i % 2 == 0 ? 32767 : -32768;
  impulse[0] = 32767;
  afterMiddle[(n / 2 + 1) % n] = -32768;
  std::vector<Block> blocks = {Block(n, 32767), Block(n, -32768), alternating, impulse, afterMiddle};
  for (int r = 0; r < (n <= 4096 ? 3 : 1); ++r) blocks.push_back(Random16(n, 1000u * n + r));
  if (n == 8 || n == 64 || n == 1024) {
    Block huge = Random16(n, 99u);
    for (int32_t& v : huge) v *= 65536;
    blocks.push_back(huge);
  }
  return blocks;
}

std::vector<const FftKernels*> AvailableKernels() {
  std::vector<const FftKernels*> kernels = {&kPortableFftKernels};
  if (const FftKernels* avx2 = Avx2FftKernels()) kernels.push_back(avx2);
  return kernels;
}

// Runs once per kernel set this processor can run, then puts the fastest back.
class FftKernelsTest : public ::testing::TestWithParam<const FftKernels*> {
 protected:
  void SetUp() override { SelectFftKernels(*GetParam()); }
  void TearDown() override { SelectFftKernels(*AvailableKernels().back()); }
};

// Every routine against its reference, bit for bit: the first block of each size fills the
// tables, the later ones read them. Powers of four take the radix-4 path, the other sizes the
// radix-2 one.
TEST_P(FftKernelsTest, EveryTransformMatchesTheReferenceAtEverySize) {
  for (int n = 2; n <= kFftMaxSize; n *= 2) {
    const std::vector<Block> blocks = TestBlocks(n);
    for (size_t b = 0; b < blocks.size(); ++b) {
      SCOPED_TRACE("n = " + std::to_string(n) + ", block " + std::to_string(b));
      const Block& x = blocks[b];
      EXPECT_TRUE(SameSpectrum(Real(x, [n](auto... a) { fftref::FftRadix2(a..., Step(n)); }), Radix2(x)));
      EXPECT_TRUE(SameSpectrum(Real(x, [](auto... a) { fftref::FftRadix2Direct(a...); }), Direct(x)));
      if (n >= 4) {
        EXPECT_TRUE(SameSpectrum(Real(x, [](auto... a) { fftref::FftRadix4(a...); }), Radix4(x)));
      }
      const Spectrum pair{x, blocks[(b + 1) % blocks.size()]};
      EXPECT_TRUE(SameSpectrum(Complex(pair, [](int m, auto... a) { fftref::FftComplexRadix2(m, a..., Step(m)); }),
                               ComplexRadix2(pair)));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllKernels, FftKernelsTest, ::testing::ValuesIn(AvailableKernels()),
                         [](const ::testing::TestParamInfo<const FftKernels*>& info) { return info.param->name; });

// Known spectra, independent of the references: a constant block is all DC, and a tone of
// frequency f and amplitude A puts A·N/2 into bins f and N-f; the engine sums with e^(+j...), so
// a sine shows +j·A·N/2 at bin f and -j·A·N/2 at bin N-f.
TEST(Fft, ConstantsAndTonesLandInTheirBins) {
  for (int n : {64, 32768}) {
    for (int32_t v : {32767, -32768}) {
      SCOPED_TRACE("n = " + std::to_string(n) + ", v = " + std::to_string(v));
      Spectrum expected{Block(n, 0), Block(n, 0)};
      expected.re[0] = n * v;
      EXPECT_TRUE(SameSpectrum(expected, Radix2(Block(n, v))));
      EXPECT_TRUE(SameSpectrum(expected, Direct(Block(n, v))));
      EXPECT_TRUE(SameSpectrum(expected, ComplexRadix2({Block(n, v), Block(n, 0)})));
    }
  }
  const int n = 1024;
  const int f = 37;
  const double peak = 20000.0 * n / 2;
  for (bool sine : {false, true}) {
    const Block x = Tone(n, f, 20000.0, sine);
    for (const Spectrum& s : {Radix2(x), Direct(x), Radix4(x), ComplexRadix2({x, Block(n, 0)})}) {
      for (int k = 0; k < n; ++k) {
        const bool peakBin = k == f || k == n - f;
        const double re = peakBin && !sine ? peak : 0.0;
        const double im = peakBin && sine ? (k == f ? peak : -peak) : 0.0;
        // Tolerance n: rounding of the samples and truncation of the products.
        ASSERT_NEAR(s.re[k], re, n) << (sine ? "sine" : "cosine") << ", bin " << k;
        ASSERT_NEAR(s.im[k], im, n) << (sine ? "sine" : "cosine") << ", bin " << k;
      }
    }
  }
}

// The tables are refilled, from the step of the call, only when the size changes.
TEST(Fft, TablesFollowTheSizeNotTheStep) {
  const Block x = Random16(512, 13u);
  const Block other = Random16(256, 14u);
  Radix2(other);
  const Spectrum normal = Radix2(x);
  EXPECT_TRUE(SameSpectrum(normal, Radix2(x, 0.5f)));
  Radix2(other);
  EXPECT_FALSE(SameSpectrum(normal, Radix2(x, 0.5f)));
}

TEST(Fft, SizesOutsideTheEngineLeaveEveryArrayAlone) {
  for (int n : {0, 1, 3, 6, 100, -8, 65536}) {
    SCOPED_TRACE("n = " + std::to_string(n));
    Block x(70000, 3), re(70000, 4), im(70000, 5), ta(70000, 6), tb(70000, 7);
    FftRadix2(x.data(), n, im.data(), re.data(), ta.data(), tb.data(), 0.1f);
    EXPECT_EQ(FftRadix2Direct(x.data(), n, im.data(), re.data(), ta.data(), tb.data()), 0);
    FftRadix4(x.data(), n, im.data(), re.data(), ta.data(), tb.data());
    FftComplexRadix2(n, im.data(), re.data(), ta.data(), tb.data(), 0.1f);
    EXPECT_EQ(re, Block(70000, 4));
    EXPECT_EQ(im, Block(70000, 5));
  }
}

}  // namespace
