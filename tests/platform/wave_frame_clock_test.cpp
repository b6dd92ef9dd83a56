#include <gtest/gtest.h>

#include <cstdint>

#include "platform/wave/frame_clock.h"

namespace morvex::wave {
namespace {

constexpr int64_t kMs = 1000000;  // nanoseconds

TEST(FramesInNanosTest, LongStreamsDoNotOverflow) {
  const int64_t tenDays = 10LL * 24 * 3600 * 1000 * kMs;
  EXPECT_EQ(FramesInNanos(tenDays + 500 * kMs, 192000), 10LL * 24 * 3600 * 192000 + 96000);
}

// Rounding to whole frames, and the clock itself (playing, idle time, pause, drop), are checked
// through the wave-out device on the virtual clock.

}  // namespace
}  // namespace morvex::wave
