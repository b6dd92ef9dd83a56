// Opening a long compressed file: a 10-minute 48 kHz stereo FLAC of 24 bits decoded into the
// temporary 16-bit WAV the program plays from. The program is not shown until this is done, so
// it must stay well under 2 s.
#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/sound_decoding.h"

namespace {

constexpr int kRate = 48000;
constexpr int kSeconds = 600;

// Music-like content for the encoder: two tones and a little noise, different in each channel.
std::string WriteLongFlac() {
  char path[] = "/tmp/morvex-opening-bench-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) std::abort();
  close(fd);
  SF_INFO info{};
  info.samplerate = kRate;
  info.channels = 2;
  info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
  SNDFILE* sound = sf_open(path, SFM_WRITE, &info);
  if (sound == nullptr) std::abort();
  std::vector<int32_t> second(2 * kRate);
  uint32_t seed = 1;
  for (int s = 0; s < kSeconds; ++s) {
    for (int i = 0; i < kRate; ++i) {
      const double t = (static_cast<double>(s) * kRate + i) / kRate;
      seed = seed * 1664525u + 1013904223u;
      const double noise = static_cast<int32_t>(seed) / 2147483648.0 * 0.01;
      second[2 * i] = static_cast<int32_t>((0.4 * std::sin(2 * M_PI * 440 * t) + noise) * 2147483647.0);
      second[2 * i + 1] = static_cast<int32_t>((0.3 * std::sin(2 * M_PI * 660 * t) - noise) * 2147483647.0);
    }
    sf_writef_int(sound, second.data(), kRate);
  }
  sf_close(sound);
  return path;
}

// Written once for every run of the benchmark, removed when the program ends.
struct LongFlac {
  LongFlac() : path(WriteLongFlac()) {}
  ~LongFlac() { std::remove(path.c_str()); }
  const std::string path;
};

void OpenTenMinuteFlac(benchmark::State& state) {
  static const LongFlac flac;
  const std::string& path = flac.path;
  for (auto _ : state) {
    const SourceDecoding decoding = DecodeIfRefused(std::fopen(path.c_str(), "rb"));
    if (decoding.format[0] == '\0') state.SkipWithError("the FLAC file was not decoded");
    std::fclose(decoding.file);
  }
}
BENCHMARK(OpenTenMinuteFlac)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
