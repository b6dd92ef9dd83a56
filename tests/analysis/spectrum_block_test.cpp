#include "analysis/spectrum_block.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "analysis/spectrum_view_samples.h"
#include "audio/sample_store.h"
#include "play_buffer_fill.h"

namespace {

constexpr FrameLayout kStereo16{2, 16, 4};
constexpr FrameLayout kMono16{1, 16, 2};
constexpr FrameLayout kStereo8{2, 8, 2};
constexpr FrameLayout kMono8{1, 8, 1};

// A play buffer whose 16-bit stereo frame f holds left = f and right = -f.
std::vector<char> IndexedStereo16() {
  std::vector<char> bytes(kPlayBufferBytes);
  playfill::FillStereo(bytes.data(), [](int32_t f) { return f; });
  return bytes;
}

void FillViews(int32_t value) {
  for (int32_t i = 0; i < kViewSampleRoom; ++i) {
    ViewLeft[i] = value;
    ViewRight[i] = value;
  }
}

TEST(ViewCopyChoice, FollowsTheRunningViews) {
  EXPECT_EQ(ViewCopyFor(2, 0, 0), ViewCopy::LeftRight);  // vectorscope first
  EXPECT_EQ(ViewCopyFor(2, 0, 1), ViewCopy::LeftRight);
  EXPECT_EQ(ViewCopyFor(2, 1, 0), ViewCopy::Left);       // vectorscope stopped, waveform runs
  EXPECT_EQ(ViewCopyFor(2, 1, 1), ViewCopy::None);
  EXPECT_EQ(ViewCopyFor(1, 1, 0), ViewCopy::Left);
  EXPECT_EQ(ViewCopyFor(1, 0, 1), ViewCopy::None);       // no vectorscope for one channel
  EXPECT_EQ(ViewCopyFor(3, 0, 0), ViewCopy::None);
}

// A play buffer beginning with `head`.
std::vector<char> BufferStartingWith(std::initializer_list<unsigned char> head) {
  std::vector<char> bytes(kPlayBufferBytes);
  std::copy(head.begin(), head.end(), bytes.begin());
  return bytes;
}

// 16-bit samples are signed little-endian, 8-bit ones unsigned around 128; Left-and-right on one
// channel fills the left view only.
TEST(PlayedFrameCopy, SampleFormats) {
  const std::vector<char> sixteen = BufferStartingWith({0x34, 0x12, 0x00, 0x80, 0xFF, 0x7F, 0xFF, 0xFF});
  int32_t block[4] = {};
  EXPECT_EQ(CopyPlayedFrames(sixteen.data(), 0, kMono16, ViewCopy::None, block, 0, 4), 4);
  EXPECT_THAT(block, ::testing::ElementsAre(0x1234, -32768, 32767, -1));

  const std::vector<char> eight = BufferStartingWith({0, 255, 128, 1, 255, 0});
  FillViews(999);
  EXPECT_EQ(CopyPlayedFrames(eight.data(), 0, kStereo8, ViewCopy::LeftRight, block, 0, 3), 3);
  EXPECT_THAT(std::vector<int32_t>(block, block + 3), ::testing::ElementsAre(-128, 0, 127));
  EXPECT_EQ(ViewLeft[1], 0);
  EXPECT_THAT(std::vector<int32_t>(ViewRight, ViewRight + 3), ::testing::ElementsAre(127, -127, -128));

  FillViews(999);
  CopyPlayedFrames(eight.data(), 0, kMono8, ViewCopy::LeftRight, block, 0, 2);
  EXPECT_EQ(ViewLeft[1], 127);
  EXPECT_EQ(ViewRight[1], 999);
}

TEST(PlayedFrameCopy, TakesTheFirstChannelAndFillsTheChosenViews) {
  const std::vector<char> bytes = IndexedStereo16();
  int32_t block[8] = {};

  FillViews(999);
  EXPECT_EQ(CopyPlayedFrames(bytes.data(), 400, kStereo16, ViewCopy::LeftRight, block, 0, 8), 8);
  EXPECT_EQ(block[0], 100);
  EXPECT_EQ(block[7], 107);
  EXPECT_EQ(ViewLeft[7], 107);
  EXPECT_EQ(ViewRight[7], -107);
  EXPECT_EQ(ViewLeft[8], 999);

  FillViews(999);
  CopyPlayedFrames(bytes.data(), 400, kStereo16, ViewCopy::Left, block, 0, 8);
  EXPECT_EQ(ViewLeft[3], 103);
  EXPECT_EQ(ViewRight[3], 999);

  FillViews(999);
  CopyPlayedFrames(bytes.data(), 400, kStereo16, ViewCopy::None, block, 0, 8);
  EXPECT_EQ(ViewLeft[0], 999);
}

TEST(PlayedFrameCopy, ReadsNothingFromOutsideOrUnknownLayouts) {
  const std::vector<char> bytes = IndexedStereo16();
  int32_t block[4] = {};
  EXPECT_EQ(CopyPlayedFrames(nullptr, 0, kStereo16, ViewCopy::None, block, 0, 4), 0);
  EXPECT_EQ(CopyPlayedFrames(bytes.data(), -4, kStereo16, ViewCopy::None, block, 0, 4), 0);
  EXPECT_EQ(CopyPlayedFrames(bytes.data(), 127999, kStereo16, ViewCopy::None, block, 0, 4), 0);
  EXPECT_EQ(CopyPlayedFrames(bytes.data(), 0, FrameLayout{2, 24, 6}, ViewCopy::None, block, 0, 4), 0);
  EXPECT_EQ(CopyPlayedFrames(bytes.data(), 0, FrameLayout{3, 16, 6}, ViewCopy::None, block, 0, 4), 0);
  // A frame size smaller than its samples (a broken header) would walk past the buffer's end.
  EXPECT_EQ(CopyPlayedFrames(bytes.data(), 0, FrameLayout{2, 16, 1}, ViewCopy::None, block, 0, 4), 0);
  // A frame must start before byte 127999: the last byte of the buffer is never a sample.
  const std::vector<char> mono(kPlayBufferBytes, static_cast<char>(200));
  std::vector<int32_t> many(100);
  EXPECT_EQ(CopyPlayedFrames(mono.data(), 127990, kMono8, ViewCopy::None, many.data(), 0, 100), 9);
}

TEST(PlayedFrameCopy, ViewsStopWhenFull) {
  const std::vector<char> bytes = IndexedStereo16();
  std::vector<int32_t> block(kViewSampleRoom + 8);
  FillViews(999);
  const int32_t start = kViewSampleRoom - 2;
  EXPECT_EQ(CopyPlayedFrames(bytes.data(), 0, kStereo16, ViewCopy::LeftRight, block.data(), start, start + 6),
            start + 6);
  EXPECT_EQ(ViewLeft[kViewSampleRoom - 1], 1);
  EXPECT_EQ(ViewRight[kViewSampleRoom - 1], -1);
  EXPECT_EQ(block[kViewSampleRoom + 3], 5);
}

TEST(BlockDecimation, KeepsEveryDthSampleAndClearsTheRest) {
  std::vector<int32_t> block = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  DecimateBlock(block.data(), 3, 6, 4);
  EXPECT_EQ(block, (std::vector<int32_t>{0, 4, 8, 0, 0, 0, 6, 7, 8, 9, 10, 11}));
  std::vector<int32_t> two = {0, 1, 2, 3, 4, 5, 6, 7};
  DecimateBlock(two.data(), 4, 4, 2);
  EXPECT_EQ(two, (std::vector<int32_t>{0, 2, 4, 6, 4, 5, 6, 7}));
}

// Each sample from the low bytes of two entries; a whole staging area fills half its entries.
TEST(InputBlockCopy, BuildsSixteenBitSamplesFromTheLowBytesInsideTheStagingArea) {
  static std::atomic<int32_t> stage[kInputStageEntries];
  const int32_t entries[] = {0x34, 0x12, 0x00, 0x80, 0x1FF, 0x37F, 0xFF, 0xFF};
  for (size_t i = 0; i < 8; ++i) stage[i] = entries[i];
  FillViews(999);
  int32_t block[4] = {};
  CopyInputBlock(stage, 4, block);
  EXPECT_THAT(block, ::testing::ElementsAre(0x1234, -32768, 32767, -1));
  EXPECT_EQ(ViewLeft[2], 32767);
  EXPECT_EQ(ViewLeft[4], 999);

  for (int32_t i = 0; i < kInputStageEntries; ++i) stage[i] = i & 0xFF;
  std::vector<int32_t> whole(kInputStageEntries, -7);
  CopyInputBlock(stage, kInputStageEntries, whole.data());
  EXPECT_EQ(whole[kInputStageEntries / 2 - 1], static_cast<int16_t>(0xFFFE));
  EXPECT_EQ(whole[kInputStageEntries / 2], -7);
}

}  // namespace
