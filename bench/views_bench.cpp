// One picture of the vectorscope and of the waveform view at their default window sizes, from
// the erase to the copy into a window-sized surface. The vectorscope draws one per FFT frame, the
// waveform one per pause (20 ms by default): the time per picture times that rate is their share
// of a core.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/win32.h"
#include "shared/spectrum_view_samples.h"
#include "views/vectorscope_picture.h"
#include "views/waveform_picture.h"

namespace {

std::atomic<int32_t> left[kViewSampleRoom];
std::atomic<int32_t> right[kViewSampleRoom];

// Two different tones, as a stereo recording gives them.
void FillStereo() {
  for (int32_t i = 0; i < kViewSampleRoom; ++i) {
    left[i] = static_cast<int32_t>(20000 * std::sin(i * 0.0627));
    right[i] = static_cast<int32_t>(20000 * std::sin(i * 0.1425));
  }
}

struct Surfaces {
  Surfaces(int width, int height) {
    picture = CreateCompatibleDC(nullptr);
    window = CreateCompatibleDC(nullptr);
    pictureBitmap = CreateCompatibleBitmap(nullptr, width, height);
    windowBitmap = CreateCompatibleBitmap(nullptr, width, height);
    SelectObject(picture, pictureBitmap);
    SelectObject(window, windowBitmap);
    SelectObject(picture, GetStockObject(WHITE_BRUSH));
  }
  ~Surfaces() {
    DeleteDC(picture);
    DeleteDC(window);
    DeleteObject(pictureBitmap);
    DeleteObject(windowBitmap);
  }
  HDC picture, window;
  HBITMAP pictureBitmap, windowBitmap;
};

void VectorscopePicture(benchmark::State& state) {
  FillStereo();
  constexpr int kWidth = 156, kHeight = 123;  // the client of the default 172 by 162 window
  Surfaces surfaces(kWidth, kHeight);
  const VsScales scales = ComputeVsScales(kWidth, kHeight, 65536, 2048, static_cast<int32_t>(state.range(0)));
  for (auto _ : state) {
    DrawVectorscopePicture(surfaces.picture, scales, left, right, 1);
    BitBlt(surfaces.window, 0, 0, kWidth, kHeight, surfaces.picture, 0, 0, SRCCOPY);
  }
}
BENCHMARK(VectorscopePicture)->Arg(300)->Arg(3000)->Unit(benchmark::kMicrosecond);

void WaveformPicture(benchmark::State& state) {
  FillStereo();
  constexpr int kWidth = 304, kHeight = 121;  // the client of the default 320 by 160 window
  Surfaces surfaces(kWidth, kHeight);
  std::vector<int32_t> samples(kViewSampleRoom);
  const WavScales scales = ComputeWavScales(WavScales{}, kWidth, kHeight, 16, 2048);
  const auto squeezed = static_cast<int32_t>(state.range(0));
  for (auto _ : state) {
    for (int32_t i = 0; i < WavSampleCount(scales, 2048, squeezed); ++i) samples[i] = left[i].load();
    DrawWaveformPicture(surfaces.picture, scales, samples.data(), 2048, squeezed);
    BitBlt(surfaces.window, 0, 0, kWidth, kHeight, surfaces.picture, 0, 0, SRCCOPY);
  }
}
BENCHMARK(WaveformPicture)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
