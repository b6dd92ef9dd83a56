// Each FFT routine at every transform size, with the double-precision real-to-complex
// transform of FFTW at the same size as the yardstick.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cstdint>
#include <random>
#include <vector>

#include "analysis/fft.h"

namespace {

std::vector<int32_t> RandomSamples(int n) {
  std::mt19937 rng(static_cast<uint32_t>(n));
  std::vector<int32_t> x(n);
  for (int32_t& v : x) {
    v = static_cast<int32_t>(rng() % 65536) - 32768;
  }
  return x;
}

// The working set of one transform: input block, spectrum and two scratch arrays.
struct Work {
  explicit Work(int n) : x(RandomSamples(n)), re(RandomSamples(n)), im(n), ta(n), tb(n) {}
  std::vector<int32_t> x, re, im, ta, tb;
};

// The routines keep no state but their tables, and their run time does not depend on
// the values, so the blocks are not refreshed between calls.
void BM_FftRadix2(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Work w(n);
  for (auto _ : state) {
    FftRadix2(w.x.data(), n, w.im.data(), w.re.data(), w.ta.data(), w.tb.data(), 6.2831855f / static_cast<float>(n));
    benchmark::DoNotOptimize(w.re.data());
  }
}

void BM_FftRadix4(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Work w(n);
  for (auto _ : state) {
    FftRadix4(w.x.data(), n, w.im.data(), w.re.data(), w.ta.data(), w.tb.data());
    benchmark::DoNotOptimize(w.re.data());
  }
}

void BM_FftRadix2Direct(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Work w(n);
  for (auto _ : state) {
    benchmark::DoNotOptimize(FftRadix2Direct(w.x.data(), n, w.im.data(), w.re.data(), w.ta.data(), w.tb.data()));
    benchmark::DoNotOptimize(w.re.data());
  }
}

void BM_FftComplexRadix2(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Work w(n);
  for (auto _ : state) {
    FftComplexRadix2(n, w.im.data(), w.re.data(), w.ta.data(), w.tb.data(), 6.2831855f / static_cast<float>(n));
    benchmark::DoNotOptimize(w.re.data());
  }
}

void BM_FftwR2c(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  double* in = fftw_alloc_real(n);
  fftw_complex* out = fftw_alloc_complex(n / 2 + 1);
  fftw_plan plan = fftw_plan_dft_r2c_1d(n, in, out, FFTW_MEASURE);
  const std::vector<int32_t> samples = RandomSamples(n);
  for (int i = 0; i < n; ++i) {
    in[i] = samples[i];
  }
  for (auto _ : state) {
    fftw_execute(plan);
    benchmark::DoNotOptimize(out);
  }
  fftw_destroy_plan(plan);
  fftw_free(out);
  fftw_free(in);
}

}  // namespace

BENCHMARK(BM_FftRadix2)->RangeMultiplier(2)->Range(64, kFftMaxSize);
BENCHMARK(BM_FftRadix4)->RangeMultiplier(2)->Range(64, kFftMaxSize);
BENCHMARK(BM_FftRadix2Direct)->RangeMultiplier(2)->Range(64, kFftMaxSize);
BENCHMARK(BM_FftComplexRadix2)->RangeMultiplier(2)->Range(64, kFftMaxSize);
BENCHMARK(BM_FftwR2c)->RangeMultiplier(2)->Range(64, kFftMaxSize);
