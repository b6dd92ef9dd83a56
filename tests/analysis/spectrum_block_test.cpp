#include "analysis/spectrum_block.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

#include "analysis/spectrum_view_samples.h"
#include "audio/sample_store.h"
#include "play_buffer_fill.h"

namespace {

using ::testing::ElementsAre;

constexpr FrameLayout kStereo16{2, 16, 4};

void FillViews(int32_t value) {
  std::fill(ViewLeft, ViewLeft + kViewSampleRoom, value);
  std::fill(ViewRight, ViewRight + kViewSampleRoom, value);
}

std::vector<int32_t> Views(const std::atomic<int32_t>* view, int32_t count) { return {view, view + count}; }

// (channels, vectorscope stopped, waveform stopped): the vectorscope first; none for one channel.
TEST(ViewCopyChoice, FollowsTheRunningViews) {
  EXPECT_EQ(std::vector<ViewCopy>({ViewCopyFor(2, 0, 1), ViewCopyFor(2, 1, 0), ViewCopyFor(2, 1, 1), ViewCopyFor(1, 1, 0),
                                   ViewCopyFor(1, 0, 1), ViewCopyFor(3, 0, 0)}),
            std::vector<ViewCopy>({ViewCopy::LeftRight, ViewCopy::Left, ViewCopy::None, ViewCopy::Left, ViewCopy::None,
                                   ViewCopy::None}));
}

// 16-bit samples are signed little-endian, 8-bit ones unsigned around 128; the views get the
// channels they were chosen for, left and right on one channel the left only.
TEST(PlayedFrameCopy, SampleFormatsAndViews) {
  std::vector<char> bytes(kPlayBufferBytes);
  const unsigned char sixteen[] = {0x34, 0x12, 0x00, 0x80, 0xFF, 0x7F, 0xFF, 0xFF};
  std::copy(std::begin(sixteen), std::end(sixteen), bytes.begin());
  int32_t block[4] = {};
  EXPECT_EQ(CopyPlayedFrames(bytes.data(), 0, {1, 16, 2}, ViewCopy::None, block, 0, 4), 4);
  EXPECT_THAT(block, ElementsAre(0x1234, -32768, 32767, -1));

  const unsigned char eight[] = {0, 255, 128, 1, 255, 0};
  std::copy(std::begin(eight), std::end(eight), bytes.begin());
  FillViews(999);
  EXPECT_EQ(CopyPlayedFrames(bytes.data(), 0, {2, 8, 2}, ViewCopy::LeftRight, block, 1, 4), 4);
  EXPECT_THAT(block, ElementsAre(0x1234, -128, 0, 127));
  EXPECT_THAT(Views(ViewLeft, 5), ElementsAre(999, -128, 0, 127, 999));
  EXPECT_THAT(Views(ViewRight, 4), ElementsAre(999, 127, -127, -128));
  FillViews(999);
  CopyPlayedFrames(bytes.data(), 0, {1, 8, 1}, ViewCopy::LeftRight, block, 0, 2);
  EXPECT_THAT(Views(ViewLeft, 3), ElementsAre(-128, 127, 999));
  EXPECT_EQ(ViewRight[1], 999);

  // The views stop when full; the block goes on.
  playfill::FillStereo(bytes.data(), [](int32_t f) { return f; });
  FillViews(999);
  std::vector<int32_t> longBlock(kViewSampleRoom + 8);
  const int32_t start = kViewSampleRoom - 2;
  EXPECT_EQ(CopyPlayedFrames(bytes.data(), 0, kStereo16, ViewCopy::LeftRight, longBlock.data(), start, start + 6),
            start + 6);
  EXPECT_EQ(ViewLeft[kViewSampleRoom - 1], 1);
  EXPECT_EQ(ViewRight[kViewSampleRoom - 1], -1);
  EXPECT_EQ(longBlock[kViewSampleRoom + 3], 5);
}

TEST(PlayedFrameCopy, ReadsNothingFromOutsideOrUnknownLayouts) {
  const std::vector<char> bytes(kPlayBufferBytes, static_cast<char>(200));
  int32_t block[4] = {};
  EXPECT_EQ(CopyPlayedFrames(nullptr, 0, kStereo16, ViewCopy::None, block, 0, 4), 0);
  EXPECT_EQ(CopyPlayedFrames(bytes.data(), -4, kStereo16, ViewCopy::None, block, 0, 4), 0);
  EXPECT_EQ(CopyPlayedFrames(bytes.data(), 127999, kStereo16, ViewCopy::None, block, 0, 4), 0);
  EXPECT_EQ(CopyPlayedFrames(bytes.data(), 0, FrameLayout{2, 24, 6}, ViewCopy::None, block, 0, 4), 0);
  EXPECT_EQ(CopyPlayedFrames(bytes.data(), 0, FrameLayout{3, 16, 6}, ViewCopy::None, block, 0, 4), 0);
  // A frame size smaller than its samples (a broken header) would walk past the buffer's end.
  EXPECT_EQ(CopyPlayedFrames(bytes.data(), 0, FrameLayout{2, 16, 1}, ViewCopy::None, block, 0, 4), 0);
  // The last byte of the buffer is never a sample.
  std::vector<int32_t> many(100);
  EXPECT_EQ(CopyPlayedFrames(bytes.data(), 127990, {1, 8, 1}, ViewCopy::None, many.data(), 0, 100), 9);
}

// Each sample from the low bytes of two entries; a whole staging area fills half its entries.
TEST(InputBlockCopy, BuildsSixteenBitSamplesFromTheLowBytesInsideTheStagingArea) {
  static std::atomic<int32_t> stage[kInputStageEntries];
  const int32_t entries[] = {0x34, 0x12, 0x00, 0x80, 0x1FF, 0x37F, 0xFF, 0xFF};
  for (size_t i = 0; i < 8; ++i) stage[i] = entries[i];
  FillViews(999);
  int32_t block[4] = {};
  CopyInputBlock(stage, 4, block);
  EXPECT_THAT(block, ElementsAre(0x1234, -32768, 32767, -1));
  EXPECT_THAT(Views(ViewLeft, 5), ElementsAre(0x1234, -32768, 32767, -1, 999));

  for (int32_t i = 0; i < kInputStageEntries; ++i) stage[i] = i & 0xFF;
  std::vector<int32_t> whole(kInputStageEntries, -7);
  CopyInputBlock(stage, kInputStageEntries, whole.data());
  EXPECT_EQ(whole[kInputStageEntries / 2 - 1], static_cast<int16_t>(0xFFFE));
  EXPECT_EQ(whole[kInputStageEntries / 2], -7);
}

}  // namespace
