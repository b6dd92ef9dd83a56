#include <gtest/gtest.h>

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
using fftsupport::Step;

Spectrum RunRadix2(const Block& x, float step) {
  return fftsupport::Real(x, [step](auto... a) { FftRadix2(a..., step); });
}
Spectrum RunRadix2(const Block& x) { return RunRadix2(x, Step(static_cast<int>(x.size()))); }
Spectrum RunDirect(const Block& x) {
  return fftsupport::Real(x, [](auto... a) { EXPECT_EQ(FftRadix2Direct(a...), 0); });
}
Spectrum RunComplex(const Spectrum& s) {
  return fftsupport::Complex(s, [](int n, auto... a) { FftComplexRadix2(n, a..., Step(n)); });
}

// Each transform against its reference, bit for bit.
void ExpectReferenceBits(const Block& x) {
  const int n = static_cast<int>(x.size());
  EXPECT_TRUE(SameSpectrum(fftsupport::Real(x, [n](auto... a) { fftref::FftRadix2(a..., Step(n)); }), RunRadix2(x)));
  EXPECT_TRUE(SameSpectrum(fftsupport::Real(x, [](auto... a) { fftref::FftRadix2Direct(a...); }), RunDirect(x)));
}
void ExpectReferenceBits(const Spectrum& s) {
  EXPECT_TRUE(SameSpectrum(fftsupport::Complex(s, [](int n, auto... a) { fftref::FftComplexRadix2(n, a..., Step(n)); }),
                           RunComplex(s)));
}

class FftRadix2Kernels : public fftsupport::KernelTest {};

// The first block of each size fills the tables, the later ones read them.
TEST_P(FftRadix2Kernels, RealTransformsMatchTheReferenceAtEverySize) {
  for (int n = 2; n <= kFftMaxSize; n *= 2) {
    std::vector<fftsignals::NamedBlock> blocks = fftsignals::RealBlocks(n, 1000u);
    blocks.push_back({"pitch input 16-bit", fftsignals::PitchInput(fftsignals::Music(n, 5u + n, 16))});
    blocks.push_back({"pitch input 8-bit", fftsignals::PitchInput(fftsignals::Music(n, 9u + n, 8))});
    for (const auto& [name, x] : blocks) {
      SCOPED_TRACE("n = " + std::to_string(n) + ", " + name);
      ExpectReferenceBits(x);
    }
  }
}

TEST_P(FftRadix2Kernels, ComplexTransformMatchesTheReferenceAtEverySize) {
  for (int n = 2; n <= kFftMaxSize; n *= 2) {
    std::vector<std::pair<std::string, Spectrum>> inputs;
    for (int bits : {16, 8}) {
      Spectrum pitch;
      fftsignals::PitchSpectrum(fftsignals::Music(n, 31u + n + bits, bits), pitch.re, pitch.im);
      inputs.push_back({"pitch spectrum " + std::to_string(bits) + "-bit", pitch});
    }
    inputs.push_back({"random", {fftsignals::Random16(n, 3u * n), fftsignals::Random16(n, 3u * n + 1)}});
    const std::vector<fftsignals::NamedBlock> extremes = fftsignals::ExtremeBlocks(n);
    for (size_t e = 0; e < extremes.size(); ++e) {
      inputs.push_back({extremes[e].name, {extremes[e].samples, extremes[(e + 1) % extremes.size()].samples}});
    }
    for (const auto& [name, input] : inputs) {
      SCOPED_TRACE("n = " + std::to_string(n) + ", " + name);
      ExpectReferenceBits(input);
    }
  }
}

// Sums beyond 32 bits wrap and out-of-range products truncate to INT32_MIN in every
// kernel, exactly as in the reference.
TEST_P(FftRadix2Kernels, OverflowingInputGivesTheReferenceBits) {
  for (int n : {8, 64, 1024}) {
    SCOPED_TRACE("n = " + std::to_string(n));
    Block x = fftsignals::Random16(n, 99u);
    for (int32_t& v : x) v *= 65536;
    ExpectReferenceBits(x);
    ExpectReferenceBits(Spectrum{x, Block(x.rbegin(), x.rend())});
  }
}

INSTANTIATE_TEST_SUITE_P(AllKernels, FftRadix2Kernels, ::testing::ValuesIn(fftsupport::AvailableKernels()),
                         fftsupport::KernelName);

TEST(FftRadix2, ConstantBlockGivesOnlyTheDcBin) {
  for (int n : {64, 32768}) {
    for (int32_t v : {32767, -32768}) {
      SCOPED_TRACE("n = " + std::to_string(n) + ", v = " + std::to_string(v));
      Spectrum expected{Block(n, 0), Block(n, 0)};
      expected.re[0] = n * v;
      EXPECT_TRUE(SameSpectrum(expected, RunRadix2(Block(n, v))));
      EXPECT_TRUE(SameSpectrum(expected, RunDirect(Block(n, v))));
      EXPECT_TRUE(SameSpectrum(expected, RunComplex({Block(n, v), Block(n, 0)})));
    }
  }
}

// A tone of frequency f and amplitude A puts A·N/2 into bins f and N-f; the engine
// sums with e^(+j...), so a sine shows +j·A·N/2 at bin f and -j·A·N/2 at bin N-f.
TEST(FftRadix2, TonesLandInTheirBinsWithTheConjugateSign) {
  const int n = 1024;
  const int f = 37;
  const double peak = 20000.0 * n / 2;
  for (bool sine : {false, true}) {
    const Block x = fftsignals::Tone(n, f, 20000.0, sine);
    for (const Spectrum& s : {RunRadix2(x), RunDirect(x), RunComplex({x, Block(n, 0)})}) {
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
TEST(FftRadix2, TablesFollowTheSizeNotTheStep) {
  const Block x = fftsignals::Random16(512, 13u);
  const Block other = fftsignals::Random16(256, 14u);
  RunRadix2(other);
  const Spectrum normal = RunRadix2(x);
  EXPECT_TRUE(SameSpectrum(normal, RunRadix2(x, 0.5f)));
  RunRadix2(other);
  EXPECT_FALSE(SameSpectrum(normal, RunRadix2(x, 0.5f)));
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
