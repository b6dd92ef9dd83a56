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

TEST(FrameClockTest, PlaysDeliveredFramesAtTheRateAndNoMore) {
  FrameClock clock(8000);
  clock.Deliver(800, 0);
  EXPECT_EQ(clock.Played(50 * kMs), 400);
  EXPECT_EQ(clock.Played(100 * kMs), 800);
  EXPECT_EQ(clock.Played(900 * kMs), 800);
}

TEST(FrameClockTest, FramesDeliveredWhilePlayingFollowWithoutAGap) {
  FrameClock clock(8000);
  clock.Deliver(800, 0);
  clock.Deliver(800, 60 * kMs);
  EXPECT_EQ(clock.Played(150 * kMs), 1200);
}

TEST(FrameClockTest, IdleTimeIsNotCounted) {
  FrameClock clock(8000);
  clock.Deliver(80, 0);
  clock.Deliver(80, 500 * kMs);  // everything was heard long ago: these start now
  EXPECT_EQ(clock.Played(505 * kMs), 120);
}

TEST(FrameClockTest, PauseHoldsThePlayedCountUntilResume) {
  FrameClock clock(8000);
  clock.Deliver(800, 0);
  clock.Pause(10 * kMs);
  EXPECT_EQ(clock.Played(80 * kMs), 80);
  clock.Deliver(80, 90 * kMs);
  EXPECT_EQ(clock.Played(95 * kMs), 80) << "frames delivered while paused wait too";
  clock.Resume(100 * kMs);
  EXPECT_EQ(clock.Played(110 * kMs), 160);
}

TEST(FrameClockTest, DropForgetsTheUnheardFrames) {
  FrameClock clock(8000);
  clock.Deliver(800, 0);
  clock.Drop(25 * kMs);
  EXPECT_EQ(clock.Delivered(), 200);
  EXPECT_EQ(clock.Played(60 * kMs), 200);
  clock.Deliver(80, 60 * kMs);
  EXPECT_EQ(clock.Played(65 * kMs), 240);
}

}  // namespace
}  // namespace morvex::wave
