#include "analysis/fft_thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "analysis/fft_graph.h"
#include "analysis/shared_spectrum.h"
#include "analysis/spectrum_cycle.h"
#include "analysis/spectrum_frame.h"
#include "analysis/window_function.h"
#include "fft_view_fixture.h"
#include "play_buffer_fill.h"
#include "support/picture.h"

namespace {

using fftview::buffers;
using fftview::devicePosition;
using fftview::inputOn;
using fftview::playing;
using fftview::settings;
using fftview::store;
using namespace std::chrono_literals;
using test_support::kBlack;
using test_support::kWhite;

// Spectra published so far: each publication moves one slot's sequence count on by 2.
uint32_t Publications() {
  return (SharedSpectrum.slots[0].sequence.load() + SharedSpectrum.slots[1].sequence.load()) / 2;
}

class FftThreadTest : public fftview::FftViewTest {
 protected:
  void SetUp() override {
    FftViewTest::SetUp();
    // A 1 kHz tone in both buffers; everything handed over, the device 1000 bytes in.
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
    Create();
    window = GetDC(fft);
    SelectObject(window, GetStockObject(BLACK_BRUSH));
  }

  void TearDown() override {
    playing = 0;
    if (thread.joinable()) thread.join();
    ReleaseDC(fft, window);
    FftViewTest::TearDown();
  }

  void Start() { thread = std::thread(FftThread, &restart); }

  // Waits until `count` more spectra have been published; false after two seconds.
  static bool WaitForPublications(uint32_t count) {
    const uint32_t target = Publications() + count;
    for (int i = 0; i < 2000 && Publications() < target; ++i) std::this_thread::sleep_for(1ms);
    return Publications() >= target;
  }

  // Ends the thread through the run's end and waits for it.
  void Finish() {
    playing = 0;
    thread.join();
  }

  std::atomic<int32_t> restart{1};
  std::thread thread;
  HDC window = nullptr;
};

TEST_F(FftThreadTest, RunsCyclesUntilTheSourceStopsOrAStopIsRequested) {
  Start();
  ASSERT_TRUE(WaitForPublications(5));
  const DWORD id = FftThreadId;
  EXPECT_NE(id, 0u);
  Finish();
  const uint32_t after = Publications();
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(Publications(), after);
  // The spectrum of the tone: 1 kHz is bin 46 of 2048 at 44100 Hz.
  int32_t bins[1024];
  ASSERT_EQ(CopySpectrum(bins, 1024), 2048);
  EXPECT_EQ(std::max_element(bins + 1, bins + 1024) - bins, 46);
  // With the old strategy the window shows the picture composed on the back surface, on a grid
  // laid out for this run.
  const FftWindowSize size = FftWindowClientSize();
  EXPECT_TRUE(test_support::SameBlock(window, 0, 0, FftBackSurface, 0, 0, size.width, size.height));
  EXPECT_EQ(GetPixel(FftGridSurface, size.width - 1, size.height - FftWindowMetrics().lineHeight), RGB(191, 191, 255));

  // A stop request ends the next run and is cleared; the run drew nothing, so the layout its start
  // asked for stays pending.
  playing = 1;
  FftRelayout = 0;
  FftUpdatesStopped = 1;
  Start();
  ASSERT_TRUE(WaitForPublications(2));
  FftStopRequest = 1;
  thread.join();
  EXPECT_EQ(FftStopRequest, 0);
  EXPECT_EQ(playing, 1);
  EXPECT_NE(FftThreadId.load(), id);
  EXPECT_EQ(FftRelayout, 1);
  const uint32_t stopped = Publications();
  FftStopRequest = 1;  // before the start: no cycle at all
  Start();
  thread.join();
  EXPECT_EQ(FftStopRequest, 0);
  EXPECT_EQ(Publications(), stopped);
}

TEST_F(FftThreadTest, WaitingForTheFirstBufferEndsWithTheRunAndBlanksTheWaitingText) {
  buffers = 0;
  const uint32_t before = Publications();
  Start();
  std::this_thread::sleep_for(20ms);
  Finish();  // would hang if the wait ignored the run's end
  // Without a window there is nothing to draw into: the thread ends at once.
  ReleaseDC(fft, window);
  DestroyFftWindow();
  playing = 1;
  buffers = 2;
  FftThread(&restart);
  EXPECT_EQ(Publications(), before);

  Create();
  window = GetDC(fft);
  SelectObject(window, GetStockObject(BLACK_BRUSH));
  devicePosition = 0;  // the device has not started
  Rectangle(window, -1, -1, 200, 100);
  Start();
  for (int i = 0; i < 2000 && GetPixel(window, 5, 5) == kBlack; ++i) std::this_thread::sleep_for(1ms);
  Finish();
  EXPECT_EQ(Publications(), before);
  EXPECT_EQ(GetPixel(window, 5, 5), kWhite);    // in the six blanks at (0, 0)
  EXPECT_EQ(GetPixel(window, 150, 5), kBlack);  // beyond them
}

TEST_F(FftThreadTest, LiveInputMakesOneCycleForEachRecordedBlock) {
  buffers = 0;
  inputOn = 1;
  store.inputReady = 0;
  Start();
  for (int block = 0; block < 3; ++block) {
    const uint32_t before = Publications();
    store.inputReady = 1;
    ASSERT_TRUE(WaitForPublications(1)) << block;
    EXPECT_EQ(Publications(), before + 1);
  }
  Finish();
}

TEST_F(FftThreadTest, StoppedUpdatesStillPublishButOnlyTheStatisticsReachTheWindow) {
  FftUpdatesStopped = 1;
  FftStatsMode = 1;
  const FftWindowSize size = FftWindowClientSize();
  Rectangle(window, -1, -1, size.width + 1, size.height + 1);
  Start();
  ASSERT_TRUE(WaitForPublications(3));
  Finish();
  EXPECT_TRUE(test_support::SameBlock(window, 0, 0, FftBackSurface, 0, 0, 40, 20));
  EXPECT_EQ(GetPixel(window, 40, 5), kBlack);
  EXPECT_EQ(GetPixel(window, 5, 20), kBlack);
  EXPECT_TRUE(test_support::TextImage("fps").At(window, 0, 0, 1 << 20, 0, 10));
}

}  // namespace
