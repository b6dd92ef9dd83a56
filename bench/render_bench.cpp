// morvex-render's whole-file spectrogram of a 60-second 44.1 kHz stereo file at the default
// column rate: the analysis cycle, the spectrogram's columns and the PNG. The counter
// "realtime" is seconds of sound rendered per second of processor time; it must stay above 30
// (under 2 s).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/screen_surface.h"
#include "render/render_analysis.h"
#include "render/render_source.h"
#include "render/render_spectrogram.h"
#include "render/render_surface.h"
#include "shared/settings.h"

namespace {

constexpr int kRate = 44100;
constexpr int kSeconds = 60;

void PutLe(std::FILE* file, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) std::fputc(static_cast<int>((value >> (8 * i)) & 0xFF), file);
}

// A sweep in one channel and a chord in the other, with a little noise.
std::string WriteLongWav() {
  char path[] = "/tmp/morvex-render-bench-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) std::abort();
  std::FILE* file = fdopen(fd, "wb");
  const uint32_t dataBytes = kSeconds * kRate * 4;
  std::fwrite("RIFF", 1, 4, file);
  PutLe(file, 36 + dataBytes, 4);
  std::fwrite("WAVEfmt ", 1, 8, file);
  for (const auto& [value, bytes] : {std::pair{16u, 4}, {1u, 2}, {2u, 2}, {uint32_t{kRate}, 4}, {kRate * 4u, 4},
                                     {4u, 2}, {16u, 2}}) {
    PutLe(file, value, bytes);
  }
  std::fwrite("data", 1, 4, file);
  PutLe(file, dataBytes, 4);
  uint32_t seed = 1;
  std::vector<int16_t> frames(2 * kRate);
  for (int s = 0; s < kSeconds; ++s) {
    for (int i = 0; i < kRate; ++i) {
      const double t = s + static_cast<double>(i) / kRate;
      seed = seed * 1664525u + 1013904223u;
      const double noise = static_cast<int32_t>(seed) / 2147483648.0 * 200;
      frames[2 * i] = static_cast<int16_t>(9000 * std::sin(2 * M_PI * (50 + 150 * t) * t) + noise);
      frames[2 * i + 1] = static_cast<int16_t>(5000 * (std::sin(2 * M_PI * 440 * t) + std::sin(2 * M_PI * 550 * t)) - noise);
    }
    std::fwrite(frames.data(), sizeof frames[0], frames.size(), file);
  }
  std::fclose(file);
  return path;
}

struct LongWav {
  LongWav() : path(WriteLongWav()) {}
  ~LongWav() { std::remove(path.c_str()); }
  const std::string path;
};

void RenderMinuteSpectrogram(benchmark::State& state) {
  static const LongWav wav;
  static const bool opened = OpenRenderSource(wav.path.c_str());
  if (!opened) std::abort();
  StartRenderAnalysis();
  RenderSurface screen(1, 1);
  const HFONT font = CreateTextFont(screen.dc());
  const SpectrogramPlan plan = PlanSpectrogram(ProgramCycleRate(), 181, font);
  const std::string png = wav.path + ".png";
  for (auto _ : state) {
    if (!RenderSpectrogram(plan, font, png, "").empty()) std::abort();
  }
  std::remove(png.c_str());
  DeleteObject(font);
  state.counters["realtime"] = benchmark::Counter(kSeconds * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(RenderMinuteSpectrogram)->Unit(benchmark::kMillisecond);

}  // namespace
