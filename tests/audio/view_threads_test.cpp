#include "audio/view_threads.h"

#include <gtest/gtest.h>

#include <atomic>

#include "audio/level_meter.h"
#include "spectrogram/sg_control.h"

namespace {

// A probe plugged in as the waveform kind. It runs until the test lets it go, like a view
// thread that has not yet noticed a stop.
std::atomic<int32_t> probeHold{1};
std::atomic<int32_t> probeActive{0};
std::atomic<int32_t> probeMostActive{0};
std::atomic<int32_t> probeRuns{0};
std::atomic<int32_t> probeRestartSeen{-1};
std::atomic<int32_t> probeWanted{1};

void Probe(std::atomic<int32_t>* restart) {
  probeRestartSeen = restart->load();
  probeRuns.fetch_add(1);
  const int32_t now = probeActive.fetch_add(1) + 1;
  int32_t most = probeMostActive.load();
  while (now > most && !probeMostActive.compare_exchange_weak(most, now)) {}
  while (probeHold == 1) Sleep(1);
  probeActive.fetch_sub(1);
}

bool ProbeWanted(ViewStart start) { return probeWanted == 1 && start != ViewStart::LiveInput; }

class ViewThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    probeActive = 0;
    probeMostActive = 0;
    probeRuns = 0;
    probeRestartSeen = -1;
    probeWanted = 1;
    probeHold = 1;
    levelThreadOff = 1;  // the level meter stays out of these starts
    RegisterViewThread(ViewKind::Waveform, Probe, ProbeWanted);
  }
  void TearDown() override {
    probeHold = 0;
    EXPECT_TRUE(WaitForViewThreadEnd(ViewKind::Waveform, 2000));
    RegisterViewThread(ViewKind::Waveform, nullptr, nullptr);
  }
  static bool WaitFor(const std::atomic<int32_t>& value, int32_t wanted) {
    for (int i = 0; i < 1000 && value.load() != wanted; ++i) Sleep(2);
    return value.load() == wanted;
  }
};

TEST_F(ViewThreads, AQuickStopAndStartNeverRunsTwoOfAKind) {
  for (const int starts : {1, 2}) {
    SetUp();  // fresh counters
    StartViewThreads(ViewStart::Playback);
    ASSERT_TRUE(WaitFor(probeRuns, 1));
    // Started again while the first thread has not yet noticed its stop; a second start
    // overtakes the first one still waiting, which then never runs.
    for (int i = 0; i < starts; ++i) StartViewThreads(ViewStart::Playback);
    // The start came back at once although the first thread still runs; the new one waits.
    EXPECT_EQ(probeActive, 1);
    if (starts == 1) {
      EXPECT_EQ(ViewThreadsAlive(ViewKind::Waveform), 2);
    }
    Sleep(100);
    EXPECT_EQ(probeRuns, 1);
    probeHold = 0;
    ASSERT_TRUE(WaitForViewThreadEnd(ViewKind::Waveform, 2000));
    EXPECT_EQ(probeRuns, 2) << starts;  // the last start ran once the first had ended
    EXPECT_EQ(probeMostActive, 1);
  }
}

// A start after the old thread has ended runs at once; threads started at creation receive 0.
TEST_F(ViewThreads, ThreadsStartedAtCreationReceiveZero) {
  probeHold = 0;
  StartViewThreads(ViewStart::Creation);
  ASSERT_TRUE(WaitForViewThreadEnd(ViewKind::Waveform, 2000));
  EXPECT_EQ(probeRestartSeen, 0);
  StartViewThreads(ViewStart::Playback);
  ASSERT_TRUE(WaitForViewThreadEnd(ViewKind::Waveform, 2000));
  EXPECT_EQ(probeRestartSeen, 1);
  EXPECT_EQ(probeRuns, 2);
}

TEST_F(ViewThreads, OnlyTheKindsTheStartTableWantsStart) {
  SgControl.stopped = 1;  // the spectrogram's updates are stopped
  StartViewThreads(ViewStart::LiveInput);
  probeWanted = 0;
  StartViewThreads(ViewStart::Playback);
  EXPECT_EQ(ViewThreadsAlive(ViewKind::Waveform), 0);
  EXPECT_EQ(ViewThreadsAlive(ViewKind::LevelMeter), 0);  // levelThreadOff is 1
  EXPECT_EQ(ViewThreadsAlive(ViewKind::Spectrogram), 0);
  Sleep(20);
  EXPECT_EQ(probeRuns, 0);
  SgControl.stopped = 0;
}

}  // namespace
