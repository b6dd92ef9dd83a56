// The FFT window and its thread over test records, under a main window that collects its posts.
#include "analysis/fft_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <new>
#include <string>
#include <thread>
#include <tuple>

#include "analysis/fft_graph.h"
#include "analysis/fft_graph_flags.h"
#include "analysis/fft_thread.h"
#include "analysis/fft_window_menu.h"
#include "analysis/spectrum_cycle.h"
#include "analysis/window_function.h"
#include "play_buffer_fill.h"
#include "shared/sg_control.h"
#include "shared/shared_spectrum.h"
#include "shared/spectrum_frame.h"
#include "support/picture.h"

namespace {

using namespace std::chrono_literals;
using test_support::kBlack;

SettingsRecord settings;
SampleStoreRecord store;
std::atomic<int32_t> playing{0}, inputOn{0}, buffers{0};
std::atomic<int32_t> devicePosition{0};  // the frames heard are always at the start of buffer A

void UseFormat(DWORD rate, WORD channels, WORD bits) {
  const auto align = static_cast<WORD>(channels * bits / 8);
  store.format = WAVEFORMATEX{WAVE_FORMAT_PCM, channels, rate, rate * align, align, bits, 0};
  store.fileRate = store.analysisRate = static_cast<int32_t>(rate);
  store.blockAlign = align;
  store.fullScale = 1 << bits;
}

// Spectra published so far: each publication moves one slot's sequence count on by 2.
uint32_t Publications() {
  return (SharedSpectrum.slots[0].sequence.load() + SharedSpectrum.slots[1].sequence.load()) / 2;
}

class FftWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool registered = [] {
      WNDCLASSA cls{};
      cls.lpfnWndProc = DefWindowProcA;
      cls.lpszClassName = "fft view test main";
      return RegisterClassA(&cls) != 0;
    }();
    ASSERT_TRUE(registered);
    settings.~SettingsRecord();
    new (&settings) SettingsRecord();
    UseFormat(44100, 2, 16);
    playing = inputOn = buffers = devicePosition = 0;
    FftRelayout = FftLogAxis = FftOnePointPerColumn = 1;
    FftLevelAxis = FftUpdatesStopped = FftStatsMode = FftStatsOff = FftWideStats = FftStopRequest = 0;
    FftSleepNone = FftPriorityLevel = SgControl.clearRequest = 0;
    main = CreateWindowExA(0, "fft view test main", "main", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                           nullptr, nullptr);
    ASSERT_NE(main, nullptr);
  }
  void TearDown() override {
    playing = 0;
    if (thread.joinable()) thread.join();
    Destroy();
    DestroyWindow(main);
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) continue;
  }
  // The FFT window, and its client surface with a black brush.
  HWND Create() {
    FftViewSources sources;
    sources.settings = &settings;
    sources.store = &store;
    sources.playflag = &playing;
    sources.inputRunning = &inputOn;
    sources.buff = &buffers;
    sources.devicePosition = [] { return devicePosition.load(); };
    sources.playPosition = [](int32_t) { return PlayPosition{kPlayBufferA, 0, true}; };
    fft = CreateFftWindow(main, nullptr, SW_SHOW, sources);
    Pump();
    NothingPosted();
    window = GetDC(fft);
    SelectObject(window, GetStockObject(BLACK_BRUSH));
    return fft;
  }
  void Destroy() {
    if (window != nullptr) ReleaseDC(fft, window);
    window = nullptr;
    DestroyFftWindow();
  }
  // Handles what the FFT window has queued for itself (paints included).
  void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, fft, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  // Whether nothing reached the main window since the last look.
  bool NothingPosted() {
    MSG msg;
    bool none = true;
    while (PeekMessageA(&msg, main, 0, 0, PM_REMOVE)) none = false;
    return none;
  }
  // A 1 kHz tone in both buffers, everything handed over, the device 1000 bytes in.
  void Play() {
    for (char* buffer : {store.bufferA, store.bufferB}) {
      playfill::FillStereo(
          buffer, [](int32_t f) { return static_cast<int32_t>(10000 * std::sin(2 * M_PI * 1000 * f / 44100)); });
    }
    store.lastWritten = kPlayBufferB;
    store.writtenEnd = 2 * kPlayBufferBytes;
    store.seekBase = 0;
    store.dataSize = 100000000;
    settings.fftwindowsleeptime = 1;
    SamplesPerFrame = 2048;
    WindowRebuild = 1;
    FftLatencyMs = 0;
    devicePosition = 1000;
    buffers = 2;
    playing = 1;
  }
  void StartThread() { thread = std::thread(FftThread, &restart); }
  // Waits until `count` more spectra have been published; false after two seconds.
  static bool WaitForPublications(uint32_t count) {
    const uint32_t target = Publications() + count;
    for (int i = 0; i < 2000 && Publications() < target; ++i) std::this_thread::sleep_for(1ms);
    return Publications() >= target;
  }
  HWND main = nullptr;
  HWND fft = nullptr;
  HDC window = nullptr;
  std::atomic<int32_t> restart{1};
  std::thread thread;
};

// The rate converter changes the analysis rate and the layout here, posting nothing.
TEST_F(FftWindowTest, TitlePlaceAndSizeComeFromTheSourceAndTheSettingsAndTheRateConverterActsHere) {
  for (const auto& [rate, channels, bits, title] :
       {std::tuple{8000, 1, 8, "fft window(8.0khz 1ch 8bit)"}, {22050, 2, 16, "fft window(22khz 2ch 16bit)"}}) {
    UseFormat(rate, channels, bits);
    char text[128] = {};
    GetWindowTextA(Create(), text, sizeof text);
    EXPECT_EQ(std::string(text), title);
    Destroy();
  }
  settings.fftwindowpx = 40;
  settings.fftwindowwidth = 320;
  Create();
  RECT rect{};
  GetWindowRect(fft, &rect);
  EXPECT_EQ(std::tuple(rect.left, rect.right), std::tuple(40, 360));
  SendMessageA(fft, WM_MOVE, 0, MAKELPARAM(-20, 77));  // a place left of the screen is recorded as such
  EXPECT_EQ(std::tuple(settings.fftwindowpx.load(), settings.fftwindowpy.load()), std::tuple(-20, 77));
  FftRelayout = 0;
  SendMessageA(fft, WM_COMMAND, 158, 0);
  EXPECT_TRUE(NothingPosted());
  EXPECT_EQ(std::tuple(settings.downrateforfft.load(), store.analysisRate.load(), FftRelayout.load()),
            std::tuple(4, 5512, 1));
}

// Without a window or a first buffer the thread ends with the run; else it runs cycles until the
// source stops or a stop is requested, and a paint meanwhile shows the last picture.
TEST_F(FftWindowTest, TheThreadRunsCyclesUntilTheSourceStopsOrAStopIsRequested) {
  Play();
  const uint32_t before = Publications();
  FftThread(&restart);  // without a window there is nothing to draw into: the thread ends at once
  buffers = 0;
  Create();
  StartThread();
  std::this_thread::sleep_for(20ms);
  playing = 0;
  thread.join();  // would hang if the wait ignored the run's end
  EXPECT_EQ(Publications(), before);
  Play();
  StartThread();
  ASSERT_TRUE(WaitForPublications(5));
  const DWORD id = FftThreadId;
  EXPECT_NE(id, 0u);
  playing = 0;
  thread.join();
  // With the old strategy the window shows the picture composed on the back surface, on a grid
  // laid out for this run.
  const FftWindowSize size = FftWindowClientSize();
  EXPECT_TRUE(test_support::SameBlock(window, 0, 0, FftBackSurface, 0, 0, size.width, size.height));
  EXPECT_EQ(GetPixel(FftGridSurface, size.width - 1, size.height - FftWindowMetrics().lineHeight), RGB(191, 191, 255));
  Rectangle(window, -1, -1, size.width + 1, size.height + 1);
  InvalidateRect(fft, nullptr, FALSE);
  Pump();  // while no source runs a paint shows the last picture
  EXPECT_TRUE(test_support::SameBlock(window, 0, 0, FftBackSurface, 0, 0, size.width, size.height));
  // A stop request ends the next run and is cleared; stopped updates still publish, but only the
  // statistics reach the window, and the layout the start asked for stays pending.
  FftRelayout = 0;
  FftUpdatesStopped = FftStatsMode = 1;
  Rectangle(window, -1, -1, size.width + 1, size.height + 1);
  Play();
  StartThread();
  ASSERT_TRUE(WaitForPublications(3));
  FftStopRequest = 1;
  thread.join();
  EXPECT_EQ(std::tuple(FftStopRequest.load(), playing.load(), FftRelayout.load()), std::tuple(0, 1, 1));
  EXPECT_NE(FftThreadId.load(), id);
  EXPECT_TRUE(test_support::SameBlock(window, 0, 0, FftBackSurface, 0, 0, 40, 20));
  EXPECT_EQ(std::tuple(GetPixel(window, 40, 5), GetPixel(window, 5, 20)), std::tuple(kBlack, kBlack));
  EXPECT_TRUE(test_support::TextImage("fps").At(window, 0, 0, 1 << 20, 0, 10));
}

}  // namespace
