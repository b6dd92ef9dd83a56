#include "audio/flag_wait.h"

#include <gtest/gtest.h>

#include <thread>

#include "audio/sample_store.h"

namespace {

// A sleeper is let go by the flag being raised, by playback ending or pausing, and not before;
// a raised flag stays raised for the sleeper to take.
TEST(FlagWait, SleepsUntilTheFlagIsRaisedOrPlaybackStops) {
  for (const int32_t playflagAfter : {1, 0, 2}) {
    std::atomic<int32_t> flag{0}, returned{0};
    playflag = 1;
    std::thread sleeper([&] {
      WaitForFlag(flag);
      returned = 1;
    });
    Sleep(30);
    EXPECT_EQ(returned.load(), 0) << "let go before anything happened";
    if (playflagAfter == 1) RaiseFlag(flag);
    playflag = playflagAfter;
    sleeper.join();
    EXPECT_EQ(flag.load(), playflagAfter == 1 ? 1 : 0);
  }
  // Already raised, or nothing playing: returns without anyone to wake it (else the test hangs).
  std::atomic<int32_t> raised{1}, unset{0};
  playflag = 1;
  WaitForFlag(raised);
  EXPECT_EQ(raised.load(), 1);
  playflag = 0;
  WaitForFlag(unset);
}

}  // namespace
