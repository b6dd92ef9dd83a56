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

using test_support::kBlack;
using test_support::kWhite;
using fftview::buffers;
using fftview::devicePosition;
using fftview::inputOn;
using fftview::playing;
using fftview::settings;
using fftview::store;
using namespace std::chrono_literals;

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
  }

  void TearDown() override {
    playing = 0;
    if (thread.joinable()) thread.join();
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
};

TEST_F(FftThreadTest, RunsCyclesUntilTheSourceStops) {
  Start();
  ASSERT_TRUE(WaitForPublications(5));
  Finish();
  const uint32_t after = Publications();
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(Publications(), after);
  // The spectrum of the tone: 1 kHz is bin 46 of 2048 at 44100 Hz.
  int32_t bins[1024];
  ASSERT_EQ(CopySpectrum(bins, 1024), 2048);
  int peak = 1;
  for (int k = 2; k < 1024; ++k) peak = bins[k] > bins[peak] ? k : peak;
  EXPECT_EQ(peak, 46);
  // With the old strategy the window shows the picture composed on the back surface.
  const FftWindowSize size = FftWindowClientSize();
  const HDC window = GetDC(fft);
  EXPECT_TRUE(test_support::SameBlock(window, 0, 0, FftBackSurface, 0, 0, size.width, size.height));
  const int baseline = size.height - FftWindowMetrics().lineHeight;
  EXPECT_EQ(GetPixel(FftGridSurface, size.width - 1, baseline), RGB(191, 191, 255));  // laid out for this run
  ReleaseDC(fft, window);
}

TEST_F(FftThreadTest, AStopRequestEndsTheThreadAndIsCleared) {
  FftStopRequest = 1;  // before the start: no cycle at all
  const uint32_t before = Publications();
  Start();
  thread.join();
  EXPECT_EQ(FftStopRequest, 0);
  EXPECT_EQ(Publications(), before);
  Start();
  ASSERT_TRUE(WaitForPublications(2));
  FftStopRequest = 1;
  thread.join();
  EXPECT_EQ(FftStopRequest, 0);
  EXPECT_EQ(playing, 1);
}

TEST_F(FftThreadTest, AThreadWaitingForTheFirstBufferEndsWithTheRun) {
  buffers = 0;
  const uint32_t before = Publications();
  Start();
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(Publications(), before);
  Finish();  // would hang if the wait ignored the run's end
  EXPECT_EQ(Publications(), before);
  // Without a window there is nothing to draw into: the thread ends at once.
  DestroyFftWindow();
  playing = 1;
  buffers = 2;
  FftThread(&restart);
  EXPECT_EQ(Publications(), before);
}

TEST_F(FftThreadTest, LiveInputNeedsNoPlayedBuffer) {
  buffers = 0;
  inputOn = 1;
  store.inputReady = 0;
  Start();
  // Each recorded block makes one cycle.
  for (int block = 0; block < 3; ++block) {
    const uint32_t before = Publications();
    store.inputReady = 1;
    ASSERT_TRUE(WaitForPublications(1)) << block;
    EXPECT_EQ(Publications(), before + 1);
  }
  Finish();
}

TEST_F(FftThreadTest, BeforeTheDeviceStartsItBlanksTheWaitingText) {
  devicePosition = 0;
  const HDC window = GetDC(fft);
  SelectObject(window, GetStockObject(BLACK_BRUSH));
  Rectangle(window, -1, -1, 200, 100);
  const uint32_t before = Publications();
  Start();
  for (int i = 0; i < 2000 && GetPixel(window, 5, 5) == kBlack; ++i) std::this_thread::sleep_for(1ms);
  Finish();
  EXPECT_EQ(Publications(), before);
  EXPECT_EQ(GetPixel(window, 5, 5), kWhite);   // in the six blanks at (0, 0)
  EXPECT_EQ(GetPixel(window, 150, 5), kBlack);  // beyond them
  ReleaseDC(fft, window);
}

TEST_F(FftThreadTest, StoppedUpdatesStillPublishButOnlyTheStatisticsReachTheWindow) {
  FftUpdatesStopped = 1;
  FftStatsMode = 1;
  const HDC window = GetDC(fft);
  SelectObject(window, GetStockObject(BLACK_BRUSH));
  const FftWindowSize size = FftWindowClientSize();
  Rectangle(window, -1, -1, size.width + 1, size.height + 1);
  Start();
  ASSERT_TRUE(WaitForPublications(3));
  Finish();
  EXPECT_TRUE(test_support::SameBlock(window, 0, 0, FftBackSurface, 0, 0, 40, 20));
  EXPECT_EQ(GetPixel(window, 40, 5), kBlack);
  EXPECT_EQ(GetPixel(window, 5, 20), kBlack);
  EXPECT_TRUE(test_support::TextImage("fps").At(window, 0, 0, 1 << 20, 0, 10));
  ReleaseDC(fft, window);
}

TEST_F(FftThreadTest, TheStartLaysTheGraphOutAgainAndRecordsTheThread) {
  Start();
  ASSERT_TRUE(WaitForPublications(1));
  const DWORD id = FftThreadId;
  EXPECT_NE(id, 0u);
  EXPECT_NE(FftThreadHandle.load(), nullptr);
  EXPECT_TRUE(SetFftThreadPriority(0));
  EXPECT_EQ(FftPriorityLevel, 0);
  EXPECT_FALSE(SetFftThreadPriority(3));
  Finish();
  // The next run, drawing nothing, leaves the layout its start asked for pending.
  FftRelayout = 0;
  FftUpdatesStopped = 1;
  playing = 1;
  Start();
  ASSERT_TRUE(WaitForPublications(1));
  Finish();
  EXPECT_NE(FftThreadId.load(), id);
  EXPECT_EQ(FftRelayout, 1);
}

}  // namespace
