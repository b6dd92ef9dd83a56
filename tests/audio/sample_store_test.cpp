#include "shared/sample_store.h"

#include <gtest/gtest.h>


namespace {

constexpr int32_t kStereo16 = 4;

// Recent bytes lie in the buffer written last, older ones in the other, in whole frames (-1: unchecked).
TEST(PlayPosition, PlacesTheSoundBehindTheWrittenEndInOneOfTheTwoBuffers) {
  const struct {
    int32_t ahead, playing, lastWritten, blockAlign, buffer, offset;
    bool hasFrames;
  } cases[] = {
      {1000, 1, kPlayBufferA, kStereo16, kPlayBufferA, 127000, true},
      {130001, 1, kPlayBufferA, kStereo16, kPlayBufferB, 125996, true},
      {256000, 1, kPlayBufferB, kStereo16, kPlayBufferA, 0, true},
      {130001, 0, kPlayBufferA, kStereo16, kPlayBufferA, 125996, true},  // stopped: the one written last
      {1000, 0, kNoPlayBuffer, kStereo16, kNoPlayBuffer, -1, false},     // before any playback
      {1, 1, kPlayBufferA, 1, -1, -1, false},                            // the last byte starts no frame
      {2, 1, kPlayBufferA, 1, -1, -1, true},
      {128000, 1, kPlayBufferA, kStereo16, kPlayBufferB, -1, false},  // the older buffer played to its end
      {0, 1, kPlayBufferA, kStereo16, -1, -1, false},                 // everything handed over was played
      {1000, 1, kPlayBufferA, 0, -1, -1, false},                      // no frame size
      {256001, 1, kPlayBufferA, kStereo16, -1, -1, false},            // -1 must not be rounded up to the frame at 0
      {INT32_MIN, 1, kPlayBufferA, kStereo16, -1, INT32_MAX, false},
  };
  for (const auto& c : cases) {
    const PlayPosition p = ComputePlayPosition(c.ahead, c.playing, c.lastWritten, c.blockAlign);
    EXPECT_TRUE(c.buffer == -1 || p.buffer == c.buffer) << c.ahead << " " << c.blockAlign;
    EXPECT_TRUE(c.offset == -1 || p.offset == c.offset) << c.ahead << " " << c.blockAlign;
    EXPECT_EQ(p.hasFrames, c.hasFrames) << c.ahead << " " << c.blockAlign;
  }
  EXPECT_LT(ComputePlayPosition(256001, 1, kPlayBufferA, kStereo16).offset, kPlayBufferBytes);
  EXPECT_EQ(PlayBufferData(kNoPlayBuffer), nullptr);
}

}  // namespace
