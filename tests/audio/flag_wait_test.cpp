#include "audio/flag_wait.h"

#include <gtest/gtest.h>

#include <thread>

#include "audio/sample_store.h"

namespace {

// A sleeper is let go by the flag being raised, by playback ending or pausing, and not before
// one of these; a raised flag stays raised for the sleeper to take.
TEST(FlagWait, SleepsUntilTheFlagIsRaisedOrPlaybackStops) {
  struct Case {
    const char* what;
    bool raise;
    int32_t playflagAfter;
  };
  for (const Case c : {Case{"raised", true, 1}, Case{"playback ended", false, 0}, Case{"paused", false, 2}}) {
    SCOPED_TRACE(c.what);
    std::atomic<int32_t> flag{0};
    playflag = 1;
    std::atomic<int32_t> returned{0};
    std::thread sleeper([&] {
      WaitForFlag(flag);
      returned = 1;
    });
    Sleep(30);
    EXPECT_EQ(returned.load(), 0) << "let go before anything happened";
    if (c.raise) {
      RaiseFlag(flag);
    } else {
      playflag = c.playflagAfter;
    }
    sleeper.join();
    EXPECT_EQ(flag.load(), c.raise ? 1 : 0);
  }
  // Already raised, or nothing playing: returns without anyone to wake it (else the test hangs).
  std::atomic<int32_t> raised{1};
  playflag = 1;
  WaitForFlag(raised);
  EXPECT_EQ(raised.load(), 1);
  std::atomic<int32_t> unset{0};
  playflag = 0;
  WaitForFlag(unset);
}

}  // namespace
