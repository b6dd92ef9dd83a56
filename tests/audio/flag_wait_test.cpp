// The flags the view threads' sleepers wait on.
#include "shared/flag_wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "shared/sample_store.h"

namespace {

// Only a raised flag (which stays raised) or the end or pause of playback lets a sleeper go.
TEST(FlagWait, SleepsUntilTheFlagIsRaisedOrPlaybackStops) {
  for (const int32_t playflagAfter : {1, 0, 2}) {
    std::atomic<int32_t> flag{0}, returned{0};
    playflag = 1;
    std::thread sleeper([&] { WaitForFlag(flag), returned = 1; });
    Sleep(30);
    EXPECT_EQ(returned.load(), 0) << "let go before anything happened";
    if (playflagAfter == 1) RaiseFlag(flag);
    playflag = playflagAfter;
    sleeper.join();
    EXPECT_EQ(flag.load(), playflagAfter == 1 ? 1 : 0);
  }
  playflag = 0;
}

}  // namespace
