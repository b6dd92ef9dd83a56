#include "analysis/fft_kernels.h"

#include <atomic>

namespace {

// Kernel sets are constant records, so publishing a pointer to one needs no ordering.
std::atomic<const FftKernels*> selectedKernels{nullptr};

const FftKernels* FastestKernels() {
  const FftKernels* avx2 = Avx2FftKernels();
  return avx2 != nullptr ? avx2 : &kPortableFftKernels;
}

}  // namespace

const FftKernels& ActiveFftKernels() {
  const FftKernels* kernels = selectedKernels.load(std::memory_order_relaxed);
  if (kernels == nullptr) {
    kernels = FastestKernels();
    selectedKernels.store(kernels, std::memory_order_relaxed);
  }
  return *kernels;
}

void SelectFftKernels(const FftKernels& kernels) { selectedKernels.store(&kernels, std::memory_order_relaxed); }
