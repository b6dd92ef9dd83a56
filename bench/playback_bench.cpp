// The slowest refill of the playback engine: one whole play buffer of 16-bit stereo through the
// pitch-halving mode at the largest transform size. A refill must finish well inside the 0.73 s
// the buffer plays at 44100 Hz.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "audio/playback_transforms.h"
#include "shared/sample_store.h"

namespace {

std::vector<char> Noise(uint32_t seed) {
  std::vector<char> bytes(kPlayBufferBytes);
  for (char& b : bytes) {
    seed = seed * 1664525u + 1013904223u;
    b = static_cast<char>(seed >> 24);
  }
  return bytes;
}

// The refill's part after the file read: the scratch copied into the play buffer, then the
// pitch mode over it.
void PitchHalfRefill(benchmark::State& state) {
  const auto n = static_cast<int32_t>(state.range(0));
  auto work = std::make_unique<PitchWorkspace>();
  const std::vector<char> scratch = Noise(1);
  const std::vector<char> bufferA = Noise(2);
  std::vector<char> buffer(kPlayBufferBytes);
  for (auto _ : state) {
    PlayBufferCopy(buffer.data(), scratch.data(), kPlayBufferBytes);
    HalvePitch(buffer.data(), n, {4, 16, 2}, bufferA.data(), *work);
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(PitchHalfRefill)->Arg(32768)->Arg(2048)->Unit(benchmark::kMillisecond);

}  // namespace
