#include "audio/sample_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <thread>

namespace {

constexpr int32_t kStereo16 = 4;

TEST(PlayPosition, RecentSoundLiesInTheBufferWrittenLast) {
  const PlayPosition p = ComputePlayPosition(1000, 1, kPlayBufferA, kStereo16);
  EXPECT_EQ(p.buffer, kPlayBufferA);
  EXPECT_EQ(p.offset, 127000);
  EXPECT_TRUE(p.hasFrames);
}

TEST(PlayPosition, OlderSoundLiesInTheOtherBufferRoundedDownToAFrame) {
  const PlayPosition p = ComputePlayPosition(130001, 1, kPlayBufferA, kStereo16);
  EXPECT_EQ(p.buffer, kPlayBufferB);
  EXPECT_EQ(p.offset, 125996);
  EXPECT_TRUE(p.hasFrames);

  const PlayPosition q = ComputePlayPosition(256000, 1, kPlayBufferB, kStereo16);
  EXPECT_EQ(q.buffer, kPlayBufferA);
  EXPECT_EQ(q.offset, 0);
  EXPECT_TRUE(q.hasFrames);
}

TEST(PlayPosition, StoppedReadersKeepTheBufferWrittenLast) {
  const PlayPosition p = ComputePlayPosition(130001, 0, kPlayBufferA, kStereo16);
  EXPECT_EQ(p.buffer, kPlayBufferA);
  EXPECT_EQ(p.offset, 125996);
  EXPECT_TRUE(p.hasFrames);
}

TEST(PlayPosition, BeforeAnyPlaybackThereIsNoBuffer) {
  const PlayPosition p = ComputePlayPosition(1000, 0, kNoPlayBuffer, kStereo16);
  EXPECT_EQ(p.buffer, kNoPlayBuffer);
  EXPECT_FALSE(p.hasFrames);
  EXPECT_EQ(PlayBufferData(p.buffer), nullptr);
}

TEST(PlayPosition, NoFramesAtTheBufferEnd) {
  // 127999 is the last byte: an 8-bit mono frame there is not read.
  EXPECT_FALSE(ComputePlayPosition(1, 1, kPlayBufferA, 1).hasFrames);
  EXPECT_TRUE(ComputePlayPosition(2, 1, kPlayBufferA, 1).hasFrames);
  // With four-byte frames the same position rounds down to the frame at 127996.
  const PlayPosition rounded = ComputePlayPosition(1, 1, kPlayBufferA, kStereo16);
  EXPECT_EQ(rounded.offset, 127996);
  EXPECT_TRUE(rounded.hasFrames);
  // Exactly 128000 ahead: the older buffer has been played to its end.
  const PlayPosition drained = ComputePlayPosition(128000, 1, kPlayBufferA, kStereo16);
  EXPECT_EQ(drained.buffer, kPlayBufferB);
  EXPECT_FALSE(drained.hasFrames);
  EXPECT_FALSE(ComputePlayPosition(0, 1, kPlayBufferA, kStereo16).hasFrames);
}

TEST(PlayPosition, PositionsOutsideBothBuffersHaveNoFrames) {
  // Everything handed over has been played (end of file).
  EXPECT_FALSE(ComputePlayPosition(-5, 1, kPlayBufferA, kStereo16).hasFrames);
  // Further behind than both buffers hold; -1 must not be rounded up to the frame at 0.
  const PlayPosition behind = ComputePlayPosition(256001, 1, kPlayBufferA, kStereo16);
  EXPECT_FALSE(behind.hasFrames);
  EXPECT_LT(behind.offset, kPlayBufferBytes);
  // The extremes do not overflow.
  EXPECT_FALSE(ComputePlayPosition(INT32_MIN, 1, kPlayBufferA, kStereo16).hasFrames);
  EXPECT_FALSE(ComputePlayPosition(INT32_MAX, 1, kPlayBufferA, kStereo16).hasFrames);
  EXPECT_EQ(ComputePlayPosition(INT32_MIN, 1, kPlayBufferA, kStereo16).offset, INT32_MAX);
}

TEST(PlayPosition, WithoutAFrameSizeNothingIsRead) {
  EXPECT_FALSE(ComputePlayPosition(1000, 1, kPlayBufferA, 0).hasFrames);
}

TEST(PlayPosition, ReadsTheTransportStateWhenAskedWithoutIt) {
  playflag = 1;
  SampleStore.lastWritten = kPlayBufferB;
  SampleStore.blockAlign = 2;
  const PlayPosition p = ComputePlayPosition(128001);
  EXPECT_EQ(p.buffer, kPlayBufferA);
  EXPECT_EQ(p.offset, 127998);
  playflag = 0;
  EXPECT_EQ(ComputePlayPosition(128001).buffer, kPlayBufferB);
  SampleStore.lastWritten = kNoPlayBuffer;
  SampleStore.blockAlign = 0;
}

TEST(PlayBuffers, ARefillSeenByAReaderIsOldOrNewPerByte) {
  static char source[kPlayBufferBytes];
  for (int32_t i = 0; i < kPlayBufferBytes; ++i) source[i] = static_cast<char>(0x80 | (i & 1));
  char* buffer = SampleStore.bufferA;
  PlayBufferCopy(buffer, SampleStore.scratch, kPlayBufferBytes);  // all zeros
  std::atomic<bool> done{false};
  std::atomic<int32_t> torn{0};
  std::thread reader([&] {
    while (!done) {
      for (int32_t i = 0; i < kPlayBufferBytes; i += 997) {
        const unsigned char b = PlayBufferLoad(buffer, i);
        if (b != 0 && b != (0x80 | (i & 1))) ++torn;
      }
    }
  });
  PlayBufferCopy(buffer, source, kPlayBufferBytes);
  done = true;
  reader.join();
  EXPECT_EQ(torn, 0);
  for (int32_t i : {0, 1, 64000, kPlayBufferBytes - 1}) EXPECT_EQ(PlayBufferLoad(buffer, i), 0x80 | (i & 1));
}

TEST(AnalysisRate, DividesOnlyByTwoOrFour) {
  EXPECT_EQ(AnalysisRateFor(44100, 0), 44100);
  EXPECT_EQ(AnalysisRateFor(44100, 2), 22050);
  EXPECT_EQ(AnalysisRateFor(44100, 4), 11025);
  EXPECT_EQ(AnalysisRateFor(44101, 2), 22050);
  EXPECT_EQ(AnalysisRateFor(44100, 3), 44100);
}

}  // namespace
