#include <gtest/gtest.h>

#include <cstdint>

#include "platform/wave/frame_clock.h"

namespace morvex::wave {
namespace {

constexpr int64_t kMs = 1000000;  // nanoseconds

TEST(FramesInNanosTest, RoundsDownToWholeFrames) {
  EXPECT_EQ(FramesInNanos(21 * kMs, 44100), 926);  // 926.1
  EXPECT_EQ(FramesInNanos(1000 * kMs, 44100), 44100);
  EXPECT_EQ(FramesInNanos(0, 44100), 0);
  EXPECT_EQ(FramesInNanos(-5 * kMs, 44100), 0);
}

TEST(FramesInNanosTest, LongStreamsDoNotOverflow) {
  const int64_t tenDays = 10LL * 24 * 3600 * 1000 * kMs;
  EXPECT_EQ(FramesInNanos(tenDays + 500 * kMs, 192000), 10LL * 24 * 3600 * 192000 + 96000);
}

// The clock itself (playing, idle time, pause, drop) is checked through the wave-out device
// on the virtual clock.

}  // namespace
}  // namespace morvex::wave
