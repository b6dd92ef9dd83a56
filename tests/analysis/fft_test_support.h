// Comparison of spectra and the choice of kernel sets shared by the transform tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/fft_kernels.h"
#include "fft_test_signals.h"

namespace fftsupport {

struct Spectrum {
  fftsignals::Block re;
  fftsignals::Block im;
};

// Fails on the first bin whose real or imaginary part differs.
inline ::testing::AssertionResult SameSpectrum(const Spectrum& expected, const Spectrum& actual) {
  for (size_t k = 0; k < expected.re.size(); ++k) {
    if (expected.re[k] != actual.re[k] || expected.im[k] != actual.im[k]) {
      return ::testing::AssertionFailure()
             << "bin " << k << " of " << expected.re.size() << ": expected (" << expected.re[k] << ", "
             << expected.im[k] << "), got (" << actual.re[k] << ", " << actual.im[k] << ")";
    }
  }
  return ::testing::AssertionSuccess();
}

// Runs a real transform fft(x, n, im, re, ta, tb) on a copy of x; outputs and scratch start as
// garbage so that no routine can rely on their contents.
template <typename Fft>
Spectrum Real(fftsignals::Block x, Fft fft) {
  const int n = static_cast<int>(x.size());
  Spectrum s{fftsignals::Block(n, 7), fftsignals::Block(n, -7)};
  fftsignals::Block ta(n, 12345), tb(n, -12345);
  fft(x.data(), n, s.im.data(), s.re.data(), ta.data(), tb.data());
  return s;
}

// Runs a complex transform fft(n, im, re, ta, tb) in place on a copy of s.
template <typename Fft>
Spectrum Complex(Spectrum s, Fft fft) {
  const int n = static_cast<int>(s.re.size());
  fftsignals::Block ta(n, 12345), tb(n, -12345);
  fft(n, s.im.data(), s.re.data(), ta.data(), tb.data());
  return s;
}

// The step the analysis passes for a transform of n points.
inline float Step(int n) { return 6.2831855f / static_cast<float>(n); }

inline std::vector<const FftKernels*> AvailableKernels() {
  std::vector<const FftKernels*> kernels = {&kPortableFftKernels};
  if (const FftKernels* avx2 = Avx2FftKernels()) {
    kernels.push_back(avx2);
  }
  return kernels;
}

inline std::string KernelName(const ::testing::TestParamInfo<const FftKernels*>& info) { return info.param->name; }

// Runs each test once per kernel set this processor can run, then puts the fastest back.
class KernelTest : public ::testing::TestWithParam<const FftKernels*> {
 protected:
  void SetUp() override { SelectFftKernels(*GetParam()); }
  void TearDown() override { SelectFftKernels(*AvailableKernels().back()); }
};

}  // namespace fftsupport
