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
