// One whole analysis cycle of the FFT thread, computing half: position, copy out of the play
// buffers, window, transform, magnitudes, filters and publication, with the default settings
// (flat-top window, radix 2, pink-noise flattening, light smoothing) on 16-bit stereo sound.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <random>

#include "analysis/spectrum_cycle.h"
#include "analysis/window_function.h"
#include "shared/spectrum_frame.h"

namespace {

SampleStoreRecord store;
SettingsRecord settings;
std::atomic<int32_t> playing{1};
std::atomic<int32_t> inputOff{0};

void FillWithNoise(char* buffer, uint32_t seed) {
  std::mt19937 rng(seed);
  for (int32_t i = 0; i < kPlayBufferBytes; ++i) buffer[i] = static_cast<char>(rng());
}

void BM_SpectrumCycle(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0));
  store.format = WAVEFORMATEX{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  store.blockAlign = 4;
  store.analysisRate = 44100;
  store.dataSize = 100000000;
  store.lastWritten = kPlayBufferB;
  store.writtenEnd = 1000000;
  FillWithNoise(store.bufferA, 1);
  FillWithNoise(store.bufferB, 2);
  settings.fftsample = n;
  SamplesPerFrame = n;
  WindowRebuild = 1;
  const SpectrumFeed feed = MakeSpectrumFeed(store, settings, playing, inputOff);
  // 180000 bytes ahead: the block starts in the older buffer and ends in the newer one.
  const int32_t devicePosition = 1000000 - 180000;
  for (auto _ : state) {
    SpectrumCycle cycle;
    if (LocateSpectrumFrame(feed, devicePosition, &cycle) != SpectrumFrame::Ready) {
      state.SkipWithError("position not usable");
      break;
    }
    const PlayPosition where =
        ComputePlayPosition(cycle.ahead, playing.load(), store.lastWritten.load(), store.blockAlign);
    TakeSpectrumBlock(feed, cycle, where);
    TransformSpectrumBlock(cycle);
    FinishSpectrum(cycle);
    benchmark::DoNotOptimize(SpectrumBins);
  }
}

}  // namespace

BENCHMARK(BM_SpectrumCycle)->Arg(2048)->Arg(32768)->Unit(benchmark::kMicrosecond);
