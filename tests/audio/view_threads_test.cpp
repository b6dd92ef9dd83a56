// The view threads' starts and stops, and the flags their sleepers wait on.
#include "audio/view_threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <tuple>

#include "audio/flag_wait.h"
#include "audio/level_meter.h"
#include "audio/sample_store.h"

namespace {

// A waveform thread that runs until let go, like a view thread that has not yet noticed a stop.
std::atomic<int32_t> probeHold{1}, probeActive{0}, probeMostActive{0}, probeRuns{0};

void Probe(std::atomic<int32_t>*) {
  probeRuns.fetch_add(1);
  const int32_t now = probeActive.fetch_add(1) + 1;
  int32_t most = probeMostActive.load();
  while (now > most && !probeMostActive.compare_exchange_weak(most, now)) {}
  while (probeHold == 1) Sleep(1);
  probeActive.fetch_sub(1);
}

class ViewThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    probeActive = probeMostActive = probeRuns = 0;
    probeHold = 1;
    levelThreadOff = 1;  // the level meter stays out of these starts
    RegisterViewThread(ViewKind::Waveform, Probe, [](ViewStart) { return true; });
  }
  void TearDown() override {
    probeHold = 0;
    EXPECT_TRUE(WaitForViewThreadEnd(ViewKind::Waveform, 2000));
    RegisterViewThread(ViewKind::Waveform, nullptr, nullptr);
  }
};

// A restart returns at once and its thread waits for the old one; a second start overtakes the first.
TEST_F(ViewThreads, AQuickStopAndStartNeverRunsTwoOfAKind) {
  for (const int starts : {1, 2}) {
    SetUp();
    StartViewThreads(ViewStart::Playback);
    for (int i = 0; i < 1000 && probeRuns != 1; ++i) Sleep(2);
    ASSERT_EQ(probeRuns, 1);
    for (int i = 0; i < starts; ++i) StartViewThreads(ViewStart::Playback);
    EXPECT_TRUE(starts == 2 || ViewThreadsAlive(ViewKind::Waveform) == 2);
    Sleep(100);
    EXPECT_EQ(std::tuple(probeActive.load(), probeRuns.load()), std::tuple(1, 1));
    probeHold = 0;
    ASSERT_TRUE(WaitForViewThreadEnd(ViewKind::Waveform, 2000));
    EXPECT_EQ(std::tuple(probeRuns.load(), probeMostActive.load()), std::tuple(2, 1)) << starts;
  }
}

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
