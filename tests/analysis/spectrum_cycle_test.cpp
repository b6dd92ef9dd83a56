#include "analysis/spectrum_cycle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <new>
#include <numbers>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "analysis/spectrum_block.h"
#include "analysis/spectrum_filters.h"
#include "analysis/window_function.h"
#include "play_buffer_fill.h"
#include "shared/sg_control.h"
#include "shared/spectrum_frame.h"
#include "shared/spectrum_view_samples.h"

namespace {

// The program's records, as the FFT thread would be handed them.
SampleStoreRecord store;
SettingsRecord settings;
std::atomic<int32_t> playing{1};
std::atomic<int32_t> inputOn{0};

using playfill::FillStereo;

bool ZerosIn(const int32_t* from, const int32_t* to) {
  return std::all_of(from, to, [](int32_t v) { return v == 0; });
}

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
    playing = WindowRebuild = 1;
    inputOn = FftLatencyMs = SgControl.stopped = SgControl.endOfData = endOfDataMarker = 0;
    // The defaults, but a rectangular window and no filters: magnitudes are the transform's own.
    settings.~SettingsRecord();
    new (&settings) SettingsRecord();
    settings.wfkind = 'z';
    settings.pinknoizeflatingfilter = settings.smoothingfilter = 0;
    SamplesPerFrame = 2048;
    std::fill(std::begin(SmoothingHistory), std::end(SmoothingHistory), 0);
    feed = MakeSpectrumFeed(store, settings, playing, inputOn);
  }
  // Locates a frame that is certainly usable.
  SpectrumCycle ReadyCycle() {
    SpectrumCycle cycle;
    EXPECT_EQ(LocateSpectrumFrame(feed, 900000, &cycle), SpectrumFrame::Ready);
    return cycle;
  }
  // The whole computing half for the frame at the start of B.
  void RunCycle() {
    const SpectrumCycle cycle = ReadyCycle();
    EXPECT_TRUE(TakeSpectrumBlock(feed, cycle, kStartOfB));
    TransformSpectrumBlock(cycle);
    FinishSpectrum(cycle);
  }
  static constexpr PlayPosition kStartOfB{kPlayBufferB, 0, true};
  SpectrumFeed feed;
};

// The file's end tells the spectrogram, unless it stopped itself or the end was not handed over.
TEST_F(SpectrumCycleTest, WhereTheFrameCanBeUsed) {
  const struct {
    const char* what;
    int32_t dataSize, writtenEnd, latencyMs, stopped, position;
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
  SpectrumCycle cycle;
  for (const auto& c : cases) {
    store.dataSize = c.dataSize;
    store.writtenEnd = c.writtenEnd;
    FftLatencyMs = c.latencyMs;
    SgControl.stopped = c.stopped;
    SgControl.endOfData = endOfDataMarker = 0;
    EXPECT_EQ(LocateSpectrumFrame(feed, c.position, &cycle), c.expected) << c.what;
    EXPECT_EQ(std::pair(SgControl.endOfData.load(), endOfDataMarker.load()), std::pair(c.endOfData, c.endOfData))
        << c.what;
  }
  store.writtenEnd = 300000;
  store.seekBase = 10000;
  FftLatencyMs = 20;
  ASSERT_EQ(LocateSpectrumFrame(feed, 150000, &cycle), SpectrumFrame::Ready);
  EXPECT_EQ(cycle.ahead, 300000 - (150000 + 10000 + 20 * 176));
}

// An older buffer continues in the newer without a gap; nothing follows the newer one.
TEST_F(SpectrumCycleTest, TheBlockRunsFromTheHeardFrameThroughTheNewerBuffer) {
  FillStereo(store.bufferA, [](int32_t f) { return f; });
  FillStereo(store.bufferB, [](int32_t f) { return -1 - f; });
  const struct {
    PlayPosition where;
    std::vector<std::pair<int32_t, int32_t>> expected;  // (entry, sample)
    int32_t zerosFrom;
  } cases[] = {
      {{kPlayBufferB, 127000, true}, {{0, -31751}, {249, -32000}}, 250},  // 250 frames before B's end
      {{kPlayBufferA, 126000, true}, {{0, 31500}, {499, 31999}, {500, -1}, {2047, -1548}}, 2048},
      {{kPlayBufferA, 128000, false}, {{0, -1}, {2047, -2048}}, 2048},  // the older one used up
  };
  for (const auto& c : cases) {
    std::fill(FftBlock, FftBlock + 2048, 5);
    ASSERT_TRUE(TakeSpectrumBlock(feed, ReadyCycle(), c.where)) << c.zerosFrom;
    for (const auto& [i, sample] : c.expected) EXPECT_EQ(FftBlock[i], sample) << c.where.offset << " " << i;
    EXPECT_TRUE(ZerosIn(FftBlock + c.zerosFrom, FftBlock + 2048)) << c.where.offset;
  }
}

// The cycle keeps its settings; decimation keeps every d-th of d·M samples, the views get them all; zero
// fill windows only the samples read.
TEST_F(SpectrumCycleTest, DecimationAndZeroFillOfTheSettingsHeldByTheCycle) {
  settings.fftsample = 1024;
  SamplesPerFrame = 512;
  settings.downrateforfft = 2;
  settings.vswindowstop = 0;
  FillStereo(store.bufferB, [](int32_t f) { return f; });
  ViewSamplesReady = 0;
  const SpectrumCycle cycle = ReadyCycle();
  EXPECT_EQ(cycle.views, ViewCopy::LeftRight);
  settings.downrateforfft = 4;
  ASSERT_TRUE(TakeSpectrumBlock(feed, cycle, kStartOfB));
  EXPECT_EQ(std::tuple(FftBlock[1], FftBlock[511], ViewLeft[1023].load(), ViewRight[1023].load()),
            std::tuple(2, 1022, 1023, -1023));
  EXPECT_EQ(ViewSamplesReady, 1);
  EXPECT_TRUE(ZerosIn(FftBlock + 512, FftBlock + 1024));
  settings.downrateforfft = 3;  // not a decimation the menus offer: off
  SamplesPerFrame = 8192;       // more than N: held to N
  EXPECT_EQ(std::pair(ReadyCycle().decimation, ReadyCycle().m), std::pair(1, 1024));
  settings.fftsample = 2048;
  settings.zerofill = 2;
  SamplesPerFrame = 1024;
  settings.wfkind = 'n';  // Hann: 0 at the ends, 1 in the middle of the window
  WindowRebuild = 1;
  FillStereo(store.bufferB, [](int32_t) { return 1000; });
  ASSERT_TRUE(TakeSpectrumBlock(feed, ReadyCycle(), kStartOfB));
  EXPECT_EQ(std::tuple(FftBlock[0], FftBlock[512], WindowRebuild.load()), std::tuple(0, 1000, 0));  // not 500 at 512
  EXPECT_NEAR(FftBlock[256], 500, 1);
  EXPECT_TRUE(ZerosIn(FftBlock + 1023, FftBlock + 2048));
}

// 8-bit samples lie around 128; a long read fills the views (one channel: the waveform's) to their room.
TEST_F(SpectrumCycleTest, EightBitMonoFillsTheViewsAsFarAsTheyHaveRoom) {
  store.format = WAVEFORMATEX{WAVE_FORMAT_PCM, 1, 44100, 44100, 1, 8, 0};
  store.blockAlign = 1;
  feed = MakeSpectrumFeed(store, settings, playing, inputOn);
  settings.fftsample = SamplesPerFrame = kFftMaxSize;
  settings.downrateforfft = 4;  // 131072 samples read: all of A, the start of B
  settings.wavwindowstop = 0;
  for (int32_t i = 0; i < kPlayBufferBytes; ++i) store.bufferA[i] = static_cast<char>(i % 251);
  std::fill(store.bufferB, store.bufferB + kPlayBufferBytes, static_cast<char>(255));
  ViewRight[0] = 999;
  ASSERT_TRUE(TakeSpectrumBlock(feed, ReadyCycle(), {kPlayBufferA, 0, true}));
  EXPECT_EQ(std::tuple(FftBlock[0], FftBlock[1], FftBlock[kFftMaxSize - 1]), std::tuple(-128, 4 - 128, 127));
  EXPECT_EQ(std::tuple(ViewLeft[kViewSampleRoom - 1].load(), ViewRight[0].load()), std::tuple(32767 % 251 - 128, 999));
}

// No block is read during a refill, nor from live input that ends while it waits.
TEST_F(SpectrumCycleTest, TheBlockWaitsForTheRefillAndLiveInputForTheNextBlock) {
  FillStereo(store.bufferB, [](int32_t f) { return f; });
  store.writerBusy = 1;
  std::atomic<bool> done{false};
  std::thread reader([&, cycle = ReadyCycle()] {
    TakeSpectrumBlock(feed, cycle, kStartOfB);
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_FALSE(done);
  store.writerBusy = 0;
  reader.join();
  EXPECT_EQ(store.readerBusy, 0);
  EXPECT_EQ(FftBlock[100], 100);
  inputOn = 1;
  reader = std::thread([&, cycle = ReadyCycle()] { EXPECT_FALSE(TakeSpectrumBlock(feed, cycle, kStartOfB)); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  inputOn = 0;
  reader.join();
}

// Radix 4 in force transforms by radix 4; magnitudes are absolute sums held at the largest value; `ready`
// comes only with the filtered spectrum, and the smoothing history carries to the next cycle.
TEST_F(SpectrumCycleTest, TransformMagnitudesFiltersAndPublication) {
  settings.fftsample = SamplesPerFrame = 1024;
  settings.fftradix4flag = 1;
  FillStereo(store.bufferB, [](int32_t f) { return (f * 7919) % 20000 - 10000; });
  SpectrumCycle cycle = ReadyCycle();
  ASSERT_TRUE(TakeSpectrumBlock(feed, cycle, kStartOfB));
  std::vector<int32_t> x(FftBlock, FftBlock + 1024), re(1024), im(1024), ta(1024), tb(1024);
  FftRadix4(x.data(), 1024, im.data(), re.data(), ta.data(), tb.data());
  TransformSpectrumBlock(cycle);
  EXPECT_TRUE(std::equal(re.begin(), re.end(), FftRe) && std::equal(im.begin(), im.end(), FftIm));
  cycle.n = 4;
  const int32_t parts[][4] = {{3, -5, INT32_MIN, 2000000000}, {-4, 0, INT32_MIN, 200000000}};
  std::copy(parts[0], parts[0] + 4, FftRe);
  std::copy(parts[1], parts[1] + 4, FftIm);
  FinishSpectrum(cycle);
  EXPECT_EQ(std::vector<int32_t>(SpectrumBins, SpectrumBins + 4), (std::vector<int32_t>{7, 5, INT32_MAX, INT32_MAX}));
  settings.fftsample = SamplesPerFrame = 2048;
  settings.fftradix4flag = 0;
  settings.pinknoizeflatingfilter = settings.loudnessrevice = settings.smoothingfilter = 1;
  FillStereo(store.bufferB, [](int32_t f) {
    return static_cast<int32_t>(std::lround(10000.0 * std::sin(2.0 * std::numbers::pi * 100.0 * f / 2048.0)));
  });
  SharedSpectrum.ready = 0;
  std::vector<int32_t> seen(kSpectrumRoom);
  std::thread spectrogram([&] {
    while (SharedSpectrum.ready.load() != 1) std::this_thread::yield();
    CopySpectrum(seen.data(), kSpectrumRoom);
    SharedSpectrum.ready = 0;
  });
  RunCycle();
  spectrogram.join();
  EXPECT_TRUE(std::equal(seen.begin(), seen.begin() + 2048, SpectrumBins));
  EXPECT_NE(seen[100], std::abs(FftRe[100]) + std::abs(FftIm[100]));  // not the raw magnitude
  const int32_t first = SpectrumBins[100];
  EXPECT_EQ(SmoothingHistory[100], first);
  RunCycle();
  EXPECT_EQ(SpectrumBins[100], first + (first >> 1));  // first is the filtered magnitude halved
}

constexpr FrameLayout kStereo16{2, 16, 4};

// A frame size smaller than its samples (a broken header) would walk past the buffer's end; the
// last byte of the buffer is never a sample.
TEST(PlayedFrameCopy, ReadsNothingFromOutsideOrUnknownLayouts) {
  const std::vector<char> bytes(kPlayBufferBytes, static_cast<char>(200));
  int32_t block[100] = {};
  for (const auto& [data, offset, layout, copied] : {std::tuple{bytes.data(), 0, FrameLayout{2, 16, 1}, 0},
                                                     {nullptr, 0, kStereo16, 0},
                                                     {bytes.data(), -4, kStereo16, 0},
                                                     {bytes.data(), 127999, kStereo16, 0},
                                                     {bytes.data(), 127990, {1, 8, 1}, 9}}) {
    EXPECT_EQ(CopyPlayedFrames(data, offset, layout, ViewCopy::None, block, 0, 100), copied) << offset;
  }
}

}  // namespace
