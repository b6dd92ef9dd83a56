#include "analysis/fft.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "analysis/fft_kernels.h"
#include "fft_reference.h"

namespace {

using fftref::Block;
using fftref::Spectrum;

::testing::AssertionResult Same(const Spectrum& expected, const Spectrum& actual) {
  for (size_t k = 0; k < expected.re.size(); ++k) {
    if (expected.re[k] != actual.re[k] || expected.im[k] != actual.im[k]) {
      return ::testing::AssertionFailure() << "bin " << k << ": expected (" << expected.re[k] << ", " << expected.im[k]
                                           << "), got (" << actual.re[k] << ", " << actual.im[k] << ")";
    }
  }
  return ::testing::AssertionSuccess();
}

enum class Routine { Radix2, Direct, Radix4, Complex };

// The engine's routine on a copy of s (real ones take s.re); outputs and scratch start as garbage.
Spectrum Engine(Routine routine, Spectrum s) {
  const int n = static_cast<int>(s.re.size());
  const float step = fftref::kTwoPi / static_cast<float>(n);
  Block x = s.re, ta(n, 12345), tb(n, -12345);
  if (routine != Routine::Complex) s = {Block(n, 7), Block(n, -7)};
  switch (routine) {
    case Routine::Radix2: FftRadix2(x.data(), n, s.im.data(), s.re.data(), ta.data(), tb.data(), step); break;
    case Routine::Direct:
      EXPECT_EQ(FftRadix2Direct(x.data(), n, s.im.data(), s.re.data(), ta.data(), tb.data()), 0);
      break;
    case Routine::Radix4: FftRadix4(x.data(), n, s.im.data(), s.re.data(), ta.data(), tb.data()); break;
    case Routine::Complex: FftComplexRadix2(n, s.im.data(), s.re.data(), ta.data(), tb.data(), step); break;
  }
  return s;
}
Spectrum Engine(Routine routine, const Block& x) { return Engine(routine, Spectrum{x, Block(x.size(), 0)}); }

Block Random16(int n, uint32_t seed) {
  std::mt19937 rng(seed);
  Block x(n);
  for (int32_t& v : x) v = static_cast<int32_t>(rng() % 65536) - 32768;
  return x;
}

// Extremes, random full-range blocks and, at a few sizes, samples whose sums and products overflow.
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

// The first block of each size fills the tables, the later ones read them.
TEST_P(FftKernelsTest, EveryTransformMatchesTheReferenceAtEverySize) {
  for (int n = 2; n <= kFftMaxSize; n *= 2) {
    const std::vector<Block> blocks = TestBlocks(n);
    for (size_t b = 0; b < blocks.size(); ++b) {
      SCOPED_TRACE("n = " + std::to_string(n) + ", block " + std::to_string(b));
      const Block& x = blocks[b];
      EXPECT_TRUE(Same(fftref::Real(x, true), Engine(Routine::Radix2, x)));
      EXPECT_TRUE(Same(fftref::Real(x, false), Engine(Routine::Direct, x)));
      if (n >= 4) {
        EXPECT_TRUE(Same(fftref::Radix4(x), Engine(Routine::Radix4, x)));
      }
      const Spectrum pair{x, blocks[(b + 1) % blocks.size()]};
      EXPECT_TRUE(Same(fftref::Radix2(pair, true), Engine(Routine::Complex, pair)));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllKernels, FftKernelsTest, ::testing::ValuesIn(AvailableKernels()),
                         [](const ::testing::TestParamInfo<const FftKernels*>& info) { return info.param->name; });

}  // namespace
