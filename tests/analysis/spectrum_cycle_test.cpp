#include "analysis/spectrum_cycle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <new>
#include <numbers>
#include <thread>
#include <utility>
#include <vector>

#include "analysis/spectrum_filters.h"
#include "analysis/spectrum_frame.h"
#include "analysis/spectrum_view_samples.h"
#include "analysis/window_function.h"
#include "play_buffer_fill.h"
#include "spectrogram/sg_control.h"

namespace {

// The program's records, as the FFT thread would be handed them.
SampleStoreRecord store;
SettingsRecord settings;
std::atomic<int32_t> playing{1};
std::atomic<int32_t> inputOn{0};

using playfill::FillStereo;

class SpectrumCycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // 44100 Hz 16-bit stereo, both play buffers handed over, B the newer.
    store.~SampleStoreRecord();
    new (&store) SampleStoreRecord();
    store.format = WAVEFORMATEX{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    store.blockAlign = 4;
    store.analysisRate = 44100;
    store.dataSize = 100000000;
    store.lastWritten = kPlayBufferB;
    store.writtenEnd = 1000000;
    playing = 1;
    inputOn = 0;
    // The defaults (2048 points, no zero-fill, no rate converter, both views stopped), but a
    // rectangular window and no filters, so that magnitudes are the transform's own.
    settings.~SettingsRecord();
    new (&settings) SettingsRecord();
    settings.wfkind = 'z';
    settings.pinknoizeflatingfilter = 0;
    settings.smoothingfilter = 0;
    SamplesPerFrame = 2048;
    WindowRebuild = 1;
    FftLatencyMs = 0;
    SgControl.stopped = 0;
    SgControl.endOfData = 0;
    endOfDataMarker = 0;
    std::fill(std::begin(SmoothingHistory), std::end(SmoothingHistory), 0);
    feed = MakeSpectrumFeed(store, settings, playing, inputOn);
  }

  // Locates a frame that is certainly usable and returns the cycle.
  SpectrumCycle ReadyCycle() {
    SpectrumCycle cycle;
    EXPECT_EQ(LocateSpectrumFrame(feed, 900000, &cycle), SpectrumFrame::Ready);
    return cycle;
  }

  // The whole computing half for the frame at `where`.
  SpectrumCycle RunCycle(const PlayPosition& where) {
    const SpectrumCycle cycle = ReadyCycle();
    EXPECT_TRUE(TakeSpectrumBlock(feed, cycle, where));
    TransformSpectrumBlock(cycle);
    FinishSpectrum(cycle);
    return cycle;
  }

  SpectrumFeed feed;
};

constexpr PlayPosition kStartOfB{kPlayBufferB, 0, true};

// --- Position ---

TEST_F(SpectrumCycleTest, AheadSubtractsTheLatencyTerm) {
  EXPECT_EQ(feed.bytesPerMs, 176);
  store.writtenEnd = 300000;
  store.seekBase = 10000;
  FftLatencyMs = 20;
  SpectrumCycle cycle;
  ASSERT_EQ(LocateSpectrumFrame(feed, 150000, &cycle), SpectrumFrame::Ready);
  EXPECT_EQ(cycle.ahead, 300000 - (150000 + 10000 + 20 * 176));
}

// Frames the cycle must not use: the end of the file tells the spectrogram, unless it
// stopped by its own command or the end has not been handed over yet.
TEST_F(SpectrumCycleTest, WhereTheFrameCannotBeUsed) {
  const struct {
    const char* what;
    int32_t dataSize;
    int32_t writtenEnd;
    int32_t latencyMs;
    int32_t stopped;
    int32_t position;
    SpectrumFrame expected;
    int32_t endOfData;
  } cases[] = {
      {"device not started", 100000000, 1000000, 0, 0, 0, SpectrumFrame::Waiting, 0},
      {"more than both buffers ahead", 100000000, 256100, 0, 0, 99, SpectrumFrame::Unusable, 0},
      {"both buffers ahead", 100000000, 256100, 0, 0, 100, SpectrumFrame::Ready, 0},
      {"past the end of the file", 500000, 500001, 0, 0, 500002, SpectrumFrame::Unusable, 1},
      {"past the written data alone", 500000, 500000, 0, 0, 500001, SpectrumFrame::Unusable, 0},
      {"spectrogram stopped", 500000, 500001, 0, 1, 500002, SpectrumFrame::Unusable, 0},
      // 24403519 · 176 = 2^32 + 52048: in 32 bits ahead would come out as 46952, usable.
      {"huge latency term", 100000000, 100000, 24403519, 0, 1000, SpectrumFrame::Unusable, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    store.dataSize = c.dataSize;
    store.writtenEnd = c.writtenEnd;
    FftLatencyMs = c.latencyMs;
    SgControl.stopped = c.stopped;
    SgControl.endOfData = 0;
    endOfDataMarker = 0;
    SpectrumCycle cycle;
    EXPECT_EQ(LocateSpectrumFrame(feed, c.position, &cycle), c.expected);
    EXPECT_EQ(SgControl.endOfData, c.endOfData);
    EXPECT_EQ(endOfDataMarker, c.endOfData);
  }
}

TEST_F(SpectrumCycleTest, TheCycleKeepsTheSettingsItStartedWith) {
  settings.fftsample = 4096;
  SamplesPerFrame = 1024;
  settings.downrateforfft = 4;
  settings.vswindowstop = 0;
  SpectrumCycle cycle = ReadyCycle();
  EXPECT_EQ(cycle.n, 4096);
  EXPECT_EQ(cycle.m, 1024);
  EXPECT_EQ(cycle.decimation, 4);
  EXPECT_EQ(cycle.rate, 44100);
  EXPECT_EQ(cycle.views, ViewCopy::LeftRight);
  settings.downrateforfft = 3;  // not a decimation the menus offer: off
  SamplesPerFrame = 8192;       // more than N: held to N
  cycle = ReadyCycle();
  EXPECT_EQ(cycle.decimation, 1);
  EXPECT_EQ(cycle.m, 4096);
}

// --- The block ---

// Where the block starts in the play buffers, and how it goes on: an older buffer continues in
// the newer without a gap, nothing follows the newer one.
TEST_F(SpectrumCycleTest, TheBlockRunsFromTheHeardFrameThroughTheNewerBuffer) {
  const struct {
    const char* what;
    PlayPosition where;
    int32_t (*a)(int32_t);
    int32_t (*b)(int32_t);
    std::vector<std::pair<int32_t, int32_t>> expected;  // (entry, sample)
    int32_t zerosFrom;
  } cases[] = {
      // Byte 127000 is frame 31750, 250 frames before the end of the newer buffer (B).
      {"short read", {kPlayBufferB, 127000, true}, [](int32_t) { return 7; }, [](int32_t f) { return f; },
       {{0, 31750}, {249, 31999}}, 250},
      {"older into newer", {kPlayBufferA, 126000, true}, [](int32_t f) { return f; },
       [](int32_t f) { return -1 - f; }, {{0, 31500}, {499, 31999}, {500, -1}, {2047, -1548}}, 2048},
      // The play head at the newer buffer's first byte: nothing left of the older.
      {"older used up", {kPlayBufferA, 128000, false}, [](int32_t) { return 7; }, [](int32_t f) { return f; },
       {{0, 0}, {2047, 2047}}, 2048},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FillStereo(store.bufferA, c.a);
    FillStereo(store.bufferB, c.b);
    std::fill(FftBlock, FftBlock + 2048, -1);
    ASSERT_TRUE(TakeSpectrumBlock(feed, ReadyCycle(), c.where));
    for (const auto& [i, sample] : c.expected) EXPECT_EQ(FftBlock[i], sample) << i;
    EXPECT_TRUE(std::all_of(FftBlock + c.zerosFrom, FftBlock + 2048, [](int32_t v) { return v == 0; }));
  }
}

TEST_F(SpectrumCycleTest, DecimationReadsDTimesMAndKeepsEveryDth) {
  settings.fftsample = 1024;
  SamplesPerFrame = 1024;
  settings.downrateforfft = 2;
  settings.vswindowstop = 0;
  FillStereo(store.bufferB, [](int32_t f) { return f; });
  ViewSamplesReady = 0;
  ASSERT_TRUE(TakeSpectrumBlock(feed, ReadyCycle(), kStartOfB));
  EXPECT_EQ(FftBlock[1], 2);
  EXPECT_EQ(FftBlock[1023], 2046);
  // The views get every sample read, not the decimated block.
  EXPECT_EQ(ViewLeft[2047], 2047);
  EXPECT_EQ(ViewRight[2047], -2047);
  EXPECT_EQ(ViewSamplesReady, 1);
}

TEST_F(SpectrumCycleTest, ZeroFillWindowsOnlyTheSamplesRead) {
  settings.zerofill = 2;
  SamplesPerFrame = 1024;
  settings.wfkind = 'n';  // Hann: 0 at the ends, 1 in the middle of the window
  FillStereo(store.bufferB, [](int32_t) { return 1000; });
  ASSERT_TRUE(TakeSpectrumBlock(feed, ReadyCycle(), kStartOfB));
  EXPECT_EQ(FftBlock[0], 0);
  EXPECT_EQ(FftBlock[512], 1000);  // a window over all 2048 entries would give 500 here
  EXPECT_NEAR(FftBlock[256], 500, 1);
  EXPECT_EQ(FftBlock[1023], 0);
  EXPECT_TRUE(std::all_of(FftBlock + 1024, FftBlock + 2048, [](int32_t v) { return v == 0; }));
  EXPECT_EQ(WindowRebuild, 0);
}

TEST_F(SpectrumCycleTest, WaitsForTheMainThreadToFinishARefill) {
  FillStereo(store.bufferB, [](int32_t f) { return f; });
  store.writerBusy = 1;
  std::atomic<bool> done{false};
  const SpectrumCycle cycle = ReadyCycle();
  std::thread reader([&] {
    TakeSpectrumBlock(feed, cycle, kStartOfB);
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_FALSE(done);
  EXPECT_EQ(store.readerBusy, 0);
  store.writerBusy = 0;
  reader.join();
  EXPECT_TRUE(done);
  EXPECT_EQ(store.readerBusy, 0);
  EXPECT_EQ(FftBlock[100], 100);
}

// Live input is ready from the start, and each cycle waits for the next recorded block.
TEST_F(SpectrumCycleTest, LiveInputTakesTheNextRecordedBlock) {
  inputOn = 1;
  settings.downrateforfft = 2;  // no effect on live input
  SamplesPerFrame = 4;
  settings.fftsample = 64;
  store.writtenEnd = 1000;
  SpectrumCycle cycle;
  ASSERT_EQ(LocateSpectrumFrame(feed, 0, &cycle), SpectrumFrame::Ready);
  EXPECT_EQ(cycle.liveInput, 1);
  std::atomic<bool> done{false};
  std::thread reader([&] {
    EXPECT_TRUE(TakeSpectrumBlock(feed, cycle, kStartOfB));
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(done);
  const int32_t bytes[] = {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x10, 0x02, 0x00};
  for (int32_t i = 0; i < 8; ++i) store.inputStage[i] = bytes[i];
  store.inputReady = 1;
  reader.join();
  EXPECT_EQ(store.inputReady, 0);
  EXPECT_EQ(FftBlock[2], 0x1000);
  EXPECT_TRUE(std::all_of(FftBlock + 4, FftBlock + 64, [](int32_t v) { return v == 0; }));
}

TEST_F(SpectrumCycleTest, LiveInputEndingWhileWaitingGivesNoBlock) {
  inputOn = 1;
  const SpectrumCycle cycle = ReadyCycle();
  std::thread stopper([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    inputOn = 0;
  });
  EXPECT_FALSE(TakeSpectrumBlock(feed, cycle, kStartOfB));
  stopper.join();
}

// --- Transform, magnitudes, filters, publication ---

// A sine of `cycles` periods per 2048 frames, amplitude 10000, in the newer buffer.
void PutSine(double cycles) {
  FillStereo(store.bufferB, [cycles](int32_t f) {
    return static_cast<int32_t>(std::lround(10000.0 * std::sin(2.0 * std::numbers::pi * cycles * f / 2048.0)));
  });
}

TEST_F(SpectrumCycleTest, RadixFourInForceTransformsByRadixFour) {
  settings.fftsample = 1024;
  SamplesPerFrame = 1024;
  settings.fftradix4flag = 1;
  PutSine(37.0);
  const SpectrumCycle cycle = ReadyCycle();
  ASSERT_TRUE(TakeSpectrumBlock(feed, cycle, kStartOfB));
  std::vector<int32_t> x(FftBlock, FftBlock + 1024), re(1024), im(1024), ta(1024), tb(1024);
  FftRadix4(x.data(), 1024, im.data(), re.data(), ta.data(), tb.data());
  TransformSpectrumBlock(cycle);
  EXPECT_TRUE(std::equal(re.begin(), re.end(), FftRe));
  EXPECT_TRUE(std::equal(im.begin(), im.end(), FftIm));
}

TEST_F(SpectrumCycleTest, MagnitudesAreAbsoluteSumsHeldAtTheLargestValue) {
  SpectrumCycle cycle = ReadyCycle();
  cycle.n = 4;
  const int32_t re[] = {3, -5, INT32_MIN, 2000000000};
  const int32_t im[] = {-4, 0, INT32_MIN, 200000000};
  std::copy(re, re + 4, FftRe);
  std::copy(im, im + 4, FftIm);
  FinishSpectrum(cycle);
  EXPECT_EQ(SpectrumBins[0], 7);
  EXPECT_EQ(SpectrumBins[1], 5);
  EXPECT_EQ(SpectrumBins[2], INT32_MAX);
  EXPECT_EQ(SpectrumBins[3], INT32_MAX);
}

TEST_F(SpectrumCycleTest, SmoothingHistoryCarriesFromCycleToCycle) {
  settings.smoothingfilter = 1;
  PutSine(100.0);
  RunCycle(kStartOfB);
  const int32_t first = SpectrumBins[100];
  EXPECT_EQ(SmoothingHistory[100], first);
  RunCycle(kStartOfB);
  EXPECT_EQ(SpectrumBins[100], first + (first >> 1));  // first is the raw magnitude halved
}

TEST_F(SpectrumCycleTest, ReadyComesOnlyWithTheFilteredSpectrum) {
  settings.pinknoizeflatingfilter = 1;
  settings.loudnessrevice = 1;
  settings.smoothingfilter = 2;
  PutSine(100.0);
  SharedSpectrum.ready = 0;
  std::vector<int32_t> seen(kSpectrumRoom);
  std::thread spectrogram([&] {
    while (SharedSpectrum.ready.load() != 1) std::this_thread::yield();
    CopySpectrum(seen.data(), kSpectrumRoom);
    SharedSpectrum.ready = 0;
  });
  RunCycle(kStartOfB);
  spectrogram.join();
  EXPECT_TRUE(std::equal(seen.begin(), seen.begin() + 2048, SpectrumBins));
  // The filters did change the magnitudes: the flag did not come with the raw ones.
  EXPECT_NE(seen[100], std::abs(FftRe[100]) + std::abs(FftIm[100]));
  EXPECT_EQ(SharedSpectrum.ready, 0);
}

}  // namespace
