// The FFT thread and the spectrogram thread together, as a playback runs them: a steady tone in
// the play buffers becomes a line of columns at the tone's row.
#include <gtest/gtest.h>

#include <cmath>
#include <new>
#include <thread>

#include "analysis/fft_thread.h"
#include "analysis/fft_window.h"
#include "analysis/play_buffer_fill.h"
#include "analysis/spectrum_cycle.h"
#include "analysis/spectrum_frame.h"
#include "analysis/window_function.h"
#include "app/settings.h"
#include "audio/sample_store.h"
#include "spectrogram/sg_control.h"
#include "spectrogram/sg_cycle.h"
#include "spectrogram/sg_surfaces.h"
#include "spectrogram/sg_thread.h"
#include "spectrogram/sg_window.h"
#include "support/view_window_rig.h"

namespace {

int32_t DevicePosition() { return 1000; }
PlayPosition StartOfBufferA(int32_t) { return {kPlayBufferA, 0, true}; }

TEST(SgEndToEnd, AToneLandsOnItsRow) {
  const HWND main = test_support::CreateStandInMainWindow();
  ASSERT_NE(main, nullptr);
  Settings.~SettingsRecord();
  new (&Settings) SettingsRecord();
  Settings.fftwindowsleeptime = 1;
  Settings.sgcolor = 0;  // grey: the strongest magnitude is the darkest pixel
  SampleStore.format = WAVEFORMATEX{WAVE_FORMAT_PCM, 2, 44100, 44100 * 4, 4, 16, 0};
  SampleStore.fileRate = SampleStore.analysisRate = 44100;
  SampleStore.blockAlign = 4;
  SampleStore.fullScale = 65536;
  // A 1 kHz tone, bin 46.4 of a 2048-point transform.
  const auto tone = [](int32_t f) { return static_cast<int32_t>(10000 * std::sin(2 * M_PI * 1000 * f / 44100)); };
  for (char* buffer : {SampleStore.bufferA, SampleStore.bufferB}) playfill::FillStereo(buffer, tone);
  SampleStore.lastWritten = kPlayBufferB;
  SampleStore.writtenEnd = 2 * kPlayBufferBytes;
  SampleStore.seekBase = 0;
  SampleStore.dataSize = 100000000;
  SamplesPerFrame = 2048;
  WindowRebuild = playflag = 1;
  buff = 2;
  FftViewSources sources{&Settings, &SampleStore, &playflag, &inputRunning, &buff, DevicePosition, StartOfBufferA};
  ASSERT_NE(CreateFftWindow(main, nullptr, SW_SHOW, sources), nullptr);
  const HWND sg = CreateSgWindow(main, SW_SHOW);
  ASSERT_NE(sg, nullptr);
  CreateSgSurfaces(sg, nullptr);
  RequestFreshSpectrogram();
  SgControl.stopped = SgControl.endOfData = 0;

  std::atomic<int32_t> restart{1};
  std::thread fft(FftThread, &restart);
  std::thread spectrogram(SpectrogramThread, &restart);
  for (int i = 0; i < 5000 && SgControl.column < 40; ++i) Sleep(1);
  const int32_t columns = SgControl.column;
  playflag = 0;
  fft.join();
  spectrogram.join();
  ASSERT_GE(columns, 40);

  // The darkest pixel of a drawn column beyond the labels is on the row of bin 46 or 47.
  const int height = SgControl.clientHeight;
  const int x = columns - 1;
  int darkest = 0;
  for (int y = 1; y < height; ++y) {
    if ((GetPixel(SgBackSurface, x, y) & 0xFF) < (GetPixel(SgBackSurface, x, darkest) & 0xFF)) darkest = y;
  }
  EXPECT_TRUE(darkest == height - SgGeometry.binRow[46] || darkest == height - SgGeometry.binRow[47])
      << darkest << " " << SgGeometry.binRow[46];
  EXPECT_EQ(GetPixel(SgBackSurface, x, height - SgGeometry.binRow[200]), RGB(255, 255, 255)) << "no sound at 4.3 kHz";

  DestroySgSurfaces();
  DestroySgWindow();
  DestroyFftWindow();
  DestroyWindow(main);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {}
}

}  // namespace
