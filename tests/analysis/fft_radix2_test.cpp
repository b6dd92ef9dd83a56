#include <gtest/gtest.h>

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

// Scratch arrays are filled with garbage so that no routine can rely on their contents.
Spectrum RunRadix2(Block x, float step) {
  const int n = static_cast<int>(x.size());
  Spectrum s{Block(n, 7), Block(n, -7)};
  Block ta(n, 12345), tb(n, -12345);
  FftRadix2(x.data(), n, s.im.data(), s.re.data(), ta.data(), tb.data(), step);
  return s;
}

Spectrum RunRadix2(const Block& x) { return RunRadix2(x, 6.2831855f / static_cast<float>(x.size())); }

Spectrum RunDirect(Block x) {
  const int n = static_cast<int>(x.size());
  Spectrum s{Block(n, 7), Block(n, -7)};
  Block ta(n, 12345), tb(n, -12345);
  EXPECT_EQ(FftRadix2Direct(x.data(), n, s.im.data(), s.re.data(), ta.data(), tb.data()), 0);
  return s;
}

Spectrum RunComplex(Spectrum s) {
  const int n = static_cast<int>(s.re.size());
  Block ta(n, 12345), tb(n, -12345);
  FftComplexRadix2(n, s.im.data(), s.re.data(), ta.data(), tb.data(), 6.2831855f / static_cast<float>(n));
  return s;
}

Spectrum ReferenceRadix2(Block x) {
  const int n = static_cast<int>(x.size());
  Spectrum s{Block(n), Block(n)};
  Block ta(n), tb(n);
  fftref::FftRadix2(x.data(), n, s.im.data(), s.re.data(), ta.data(), tb.data(), 6.2831855f / static_cast<float>(n));
  return s;
}

Spectrum ReferenceDirect(Block x) {
  const int n = static_cast<int>(x.size());
  Spectrum s{Block(n), Block(n)};
  Block ta(n), tb(n);
  fftref::FftRadix2Direct(x.data(), n, s.im.data(), s.re.data(), ta.data(), tb.data());
  return s;
}

Spectrum ReferenceComplex(Spectrum s) {
  const int n = static_cast<int>(s.re.size());
  Block ta(n), tb(n);
  fftref::FftComplexRadix2(n, s.im.data(), s.re.data(), ta.data(), tb.data(), 6.2831855f / static_cast<float>(n));
  return s;
}

// The real blocks each size is checked with: fewer random blocks at the big sizes.
// The real blocks plus the blocks of the pitch mode.
std::vector<fftsignals::NamedBlock> RealBlocks(int n) {
  std::vector<fftsignals::NamedBlock> blocks = fftsignals::RealBlocks(n, 1000u);
  blocks.push_back({"pitch input 16-bit", fftsignals::PitchInput(fftsignals::Music(n, 5u + n, 16))});
  blocks.push_back({"pitch input 8-bit", fftsignals::PitchInput(fftsignals::Music(n, 9u + n, 8))});
  return blocks;
}

std::vector<int> SizesFrom(int smallest) {
  std::vector<int> sizes;
  for (int n = smallest; n <= kFftMaxSize; n *= 2) {
    sizes.push_back(n);
  }
  return sizes;
}

class FftRadix2Kernels : public fftsupport::KernelTest {};

TEST_P(FftRadix2Kernels, RealTransformsMatchTheReferenceAtEverySize) {
  for (int n : SizesFrom(2)) {
    for (const auto& [name, x] : RealBlocks(n)) {
      SCOPED_TRACE("n = " + std::to_string(n) + ", " + name);
      EXPECT_TRUE(SameSpectrum(ReferenceRadix2(x), RunRadix2(x)));
      EXPECT_TRUE(SameSpectrum(ReferenceDirect(x), RunDirect(x)));
    }
  }
}

TEST_P(FftRadix2Kernels, ComplexTransformMatchesTheReferenceAtEverySize) {
  for (int n : SizesFrom(2)) {
    std::vector<std::pair<std::string, Spectrum>> inputs;
    for (int bits : {16, 8}) {
      Spectrum pitch;
      fftsignals::PitchSpectrum(fftsignals::Music(n, 31u + n + bits, bits), pitch.re, pitch.im);
      inputs.push_back({"pitch spectrum " + std::to_string(bits) + "-bit", pitch});
    }
    inputs.push_back({"random", {fftsignals::Random16(n, 3u * n), fftsignals::Random16(n, 3u * n + 1)}});
    const std::vector<fftsignals::NamedBlock> extremes = fftsignals::ExtremeBlocks(n);
    for (size_t e = 0; e < extremes.size(); ++e) {
      const Block& other = extremes[(e + 1) % extremes.size()].samples;
      inputs.push_back({extremes[e].name, {extremes[e].samples, other}});
    }
    for (const auto& [name, input] : inputs) {
      SCOPED_TRACE("n = " + std::to_string(n) + ", " + name);
      EXPECT_TRUE(SameSpectrum(ReferenceComplex(input), RunComplex(input)));
    }
  }
}

// Sums beyond 32 bits wrap and out-of-range products truncate to INT32_MIN in every
// kernel, exactly as in the reference.
TEST_P(FftRadix2Kernels, OverflowingInputGivesTheReferenceBits) {
  for (int n : {8, 64, 1024}) {
    SCOPED_TRACE("n = " + std::to_string(n));
    Block x = fftsignals::Random16(n, 99u);
    for (int32_t& v : x) {
      v *= 65536;
    }
    EXPECT_TRUE(SameSpectrum(ReferenceRadix2(x), RunRadix2(x)));
    EXPECT_TRUE(SameSpectrum(ReferenceDirect(x), RunDirect(x)));
    EXPECT_TRUE(
        SameSpectrum(ReferenceComplex({x, Block(x.rbegin(), x.rend())}), RunComplex({x, Block(x.rbegin(), x.rend())})));
  }
}

INSTANTIATE_TEST_SUITE_P(AllKernels, FftRadix2Kernels, ::testing::ValuesIn(fftsupport::AvailableKernels()),
                         fftsupport::KernelName);

TEST(FftRadix2, ConstantBlockGivesOnlyTheDcBin) {
  for (int n : {64, 2048, 32768}) {
    for (int32_t v : {32767, -32768, 5}) {
      SCOPED_TRACE("n = " + std::to_string(n) + ", v = " + std::to_string(v));
      Spectrum expected{Block(n, 0), Block(n, 0)};
      expected.re[0] = n * v;
      EXPECT_TRUE(SameSpectrum(expected, RunRadix2(fftsignals::Constant(n, v))));
      EXPECT_TRUE(SameSpectrum(expected, RunDirect(fftsignals::Constant(n, v))));
      EXPECT_TRUE(SameSpectrum(expected, RunComplex({fftsignals::Constant(n, v), Block(n, 0)})));
    }
  }
}

// A tone of frequency f and amplitude A puts A·N/2 into bins f and N-f; the engine
// sums with e^(+j...), so a sine shows +j·A·N/2 at bin f and -j·A·N/2 at bin N-f.
void ExpectTone(const Spectrum& s, int n, int f, double amplitude, bool sine) {
  const double peak = amplitude * n / 2;
  const double tolerance = n;  // rounding of the samples and truncation of the products
  for (int k = 0; k < n; ++k) {
    SCOPED_TRACE("bin " + std::to_string(k));
    double re = 0.0;
    double im = 0.0;
    if (k == f || k == n - f) {
      re = sine ? 0.0 : peak;
      im = sine ? (k == f ? peak : -peak) : 0.0;
    }
    EXPECT_NEAR(s.re[k], re, tolerance);
    EXPECT_NEAR(s.im[k], im, tolerance);
  }
}

TEST(FftRadix2, TonesLandInTheirBinsWithTheConjugateSign) {
  const int n = 1024;
  const int f = 37;
  const double amplitude = 20000.0;
  for (bool sine : {false, true}) {
    SCOPED_TRACE(sine ? "sine" : "cosine");
    const Block x = fftsignals::Tone(n, f, amplitude, sine);
    ExpectTone(RunRadix2(x), n, f, amplitude, sine);
    ExpectTone(RunDirect(x), n, f, amplitude, sine);
    ExpectTone(RunComplex({x, Block(n, 0)}), n, f, amplitude, sine);
  }
}

// The first transform after a size change fills the tables; later ones read them.
TEST(FftRadix2, TablesReadGiveWhatTablesFilledGave) {
  const Block big = fftsignals::Random16(4096, 11u);
  const Block small = fftsignals::Random16(256, 12u);
  const Spectrum complexBig{big, fftsignals::Random16(4096, 13u)};
  const Spectrum complexSmall{small, small};

  RunRadix2(small);
  const Spectrum radix2Filled = RunRadix2(big);
  EXPECT_TRUE(SameSpectrum(radix2Filled, RunRadix2(big)));
  RunRadix2(small);
  EXPECT_TRUE(SameSpectrum(radix2Filled, RunRadix2(big)));

  RunDirect(small);
  const Spectrum directFilled = RunDirect(big);
  EXPECT_TRUE(SameSpectrum(directFilled, RunDirect(big)));

  RunComplex(complexSmall);
  const Spectrum complexFilled = RunComplex(complexBig);
  EXPECT_TRUE(SameSpectrum(complexFilled, RunComplex(complexBig)));
  RunComplex(complexSmall);
  EXPECT_TRUE(SameSpectrum(complexFilled, RunComplex(complexBig)));
}

// The tables are refilled, from the step of the call, only when the size changes.
TEST(FftRadix2, TablesFollowTheSizeNotTheStep) {
  const Block x = fftsignals::Random16(512, 13u);
  const Block other = fftsignals::Random16(256, 14u);
  RunRadix2(other);
  const Spectrum normal = RunRadix2(x);
  EXPECT_TRUE(SameSpectrum(normal, RunRadix2(x, 0.5f)));
  RunRadix2(other);
  EXPECT_FALSE(SameSpectrum(normal, RunRadix2(x, 0.5f)));
  EXPECT_TRUE(SameSpectrum(ReferenceRadix2(other), RunRadix2(other)));
}

TEST(FftRadix2, SizesOutsideTheEngineLeaveEveryArrayAlone) {
  for (int n : {0, 1, 3, 6, 100, -8, 65536}) {
    SCOPED_TRACE("n = " + std::to_string(n));
    Block x(70000, 3), re(70000, 4), im(70000, 5), ta(70000, 6), tb(70000, 7);
    FftRadix2(x.data(), n, im.data(), re.data(), ta.data(), tb.data(), 0.1f);
    EXPECT_EQ(FftRadix2Direct(x.data(), n, im.data(), re.data(), ta.data(), tb.data()), 0);
    FftComplexRadix2(n, im.data(), re.data(), ta.data(), tb.data(), 0.1f);
    EXPECT_EQ(re, Block(70000, 4));
    EXPECT_EQ(im, Block(70000, 5));
  }
}

}  // namespace
