#include "analysis/spectrum_block.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "analysis/spectrum_view_samples.h"
#include "audio/sample_store.h"

namespace {

using ::testing::ElementsAre;

constexpr FrameLayout kStereo16{2, 16, 4};

// (channels, vectorscope stopped, waveform stopped): the vectorscope first; none for one channel.
TEST(ViewCopyChoice, FollowsTheRunningViews) {
  EXPECT_EQ(std::vector<ViewCopy>({ViewCopyFor(2, 0, 1), ViewCopyFor(2, 1, 0), ViewCopyFor(2, 1, 1), ViewCopyFor(1, 1, 0),
                                   ViewCopyFor(1, 0, 1), ViewCopyFor(3, 0, 0)}),
            std::vector<ViewCopy>({ViewCopy::LeftRight, ViewCopy::Left, ViewCopy::None, ViewCopy::Left, ViewCopy::None,
                                   ViewCopy::None}));
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
  ViewLeft[4] = 999;
  int32_t block[4] = {};
  CopyInputBlock(stage, 4, block);
  EXPECT_THAT(block, ElementsAre(0x1234, -32768, 32767, -1));
  EXPECT_THAT(std::vector<int32_t>(ViewLeft, ViewLeft + 5), ElementsAre(0x1234, -32768, 32767, -1, 999));

  for (int32_t i = 0; i < kInputStageEntries; ++i) stage[i] = i & 0xFF;
  std::vector<int32_t> whole(kInputStageEntries, -7);
  CopyInputBlock(stage, kInputStageEntries, whole.data());
  EXPECT_EQ(whole[kInputStageEntries / 2 - 1], static_cast<int16_t>(0xFFFE));
  EXPECT_EQ(whole[kInputStageEntries / 2], -7);
}

}  // namespace
