// The debug menu on the real main window: its place, its marks at start-up and after each choice.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "analysis/fft_window.h"
#include "analysis/spectrum_frame.h"
#include "main_window_rig.h"

namespace {

using main_window_rig::Checked;
using main_window_rig::Grey;
using DebugMenuTest = main_window_rig::MainWindowRig;

TEST_F(DebugMenuTest, HangsOnTheSystemMenuWithItsStartMarksFromTheSettings) {
  Settings.zerofill = 4;
  Settings.sggraphtype = 2;
  Settings.sgspectnowait = Settings.sgmousecurhzdis = Settings.wavgphffts = 1;
  Settings.wavwindowstop = Settings.vswindowstop = Settings.sgcolor = 0;
  Start(main_window_rig::Pattern(400000), test_support::FmtFields{});
  const int count = GetMenuItemCount(SystemMenu);
  ASSERT_GE(count, 3);
  EXPECT_EQ(GetMenuState(SystemMenu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  char title[32] = {};
  GetMenuStringA(SystemMenu, count - 1, title, sizeof title, MF_BYPOSITION);
  EXPECT_STREQ(title, "menu for debug");
  EXPECT_EQ(GetSubMenu(SystemMenu, count - 1), DebugMenu);
  EXPECT_EQ(GetMenuItemID(DebugMenu, 0), 1u);
  EXPECT_EQ(GetMenuItemID(DebugMenu, GetMenuItemCount(DebugMenu) - 1), 118u);
  EXPECT_TRUE(Grey(74));
  EXPECT_FALSE(Grey(65)) << "two channels";
  EXPECT_EQ(main_window_rig::CheckedItems(SystemMenu),
            (std::set<UINT>{9, 11, 14, 19, 23, 33, 35, 46, 49, 52, 59, 63, 64, 65, 67, 73, 76, 80, 82, 89, 91, 96, 102,
                            103, 104}));
}

TEST_F(DebugMenuTest, EachRadioGroupStartsOnTheSettingsItemAndMovesToTheChoice) {
  // The setting's value at start-up, the item marked for it (0: none), a choice and its value.
  struct Group {
    std::vector<UINT> items;
    std::atomic<int32_t>* setting;
    int32_t startValue;
    UINT markedAtStart, chosen;
    int32_t chosenValue;
  };
  const std::vector<UINT> sg{43, 44, 45, 88, 124, 125, 46, 75, 47, 58, 48, 50};
  const Group groups[] = {
      {{87, 13, 109, 14, 15, 16, 17, 18, 20}, &Settings.fftwindowsleeptime, 0, 13, 87, 0},  // 0: the time slice
      {{28, 29, 30, 21, 22, 23, 24, 25, 26, 121}, &Settings.fftsampleRequested, 32768, 121, 28, 64},
      {sg, &Settings.sggraphmagnified, 35, 124, 50, 400},
      {sg, &Settings.sggraphmagnified, 60, 0, 75, 75},  // no item carries 60
  };
  for (const Group& g : groups) {
    SCOPED_TRACE(testing::Message() << "start value " << g.startValue << ", choice " << g.chosen);
    *g.setting = g.startValue;
    Start();
    for (const UINT id : g.items) EXPECT_EQ(Checked(id), id == g.markedAtStart) << "at start-up, item " << id;
    SystemCommand(g.chosen);
    EXPECT_EQ(g.setting->load(), g.chosenValue);
    for (const UINT id : g.items) EXPECT_EQ(Checked(id), id == g.chosen) << "after the choice, item " << id;
    Restart();
  }
}

TEST_F(DebugMenuTest, CommandsSetWhatTheViewsReadAndKeepTheirMarks) {
  Start();
  ASSERT_TRUE(RunUntil([] { return FftThreadHandle.load() != nullptr; }));
  SystemCommand(37);
  EXPECT_EQ(FftPriorityLevel, 2) << "the level is kept even when the system refuses";
  const bool raised = GetThreadPriority(FftThreadHandle) == THREAD_PRIORITY_HIGHEST;
  EXPECT_EQ(Checked(37), raised);
  EXPECT_EQ(Checked(35), !raised);
  SgControl.threadHandle = nullptr;  // no spectrogram thread: nothing to change, the mark stays
  SystemCommand(60);
  EXPECT_EQ(SgPriorityLevel, 1);
  EXPECT_TRUE(Checked(59));
  Posted('s');
  Posted('p');
  EXPECT_EQ(FftPriorityLevel + SgPriorityLevel, 0) << "play puts the priorities back";
  EXPECT_TRUE(Checked(35) && Checked(59) && !Checked(37) && !Checked(60));
  SystemCommand(63);
  EXPECT_EQ(SamplesPerFrame, 2048 / 4) << "four times zero fill";
  SgControl.clearRequest = 0;
  SystemCommand(57);  // sgcolor off: no fresh picture
  EXPECT_EQ(SgControl.clearRequest, 0);
  SystemCommand(57);
  EXPECT_EQ(SgControl.clearRequest, 1) << "switching the colour on starts a fresh picture";
  SystemCommand(76);
  EXPECT_EQ(Settings.wavwindowstop, 0);
  EXPECT_TRUE(KillTimer(hwnd_, 4)) << "timer 4 puts the priority back after a view starts";
  SystemCommand(65);
  EXPECT_EQ(Settings.vswindowstop, 1) << "no vectorscope for one channel";
}

}  // namespace
