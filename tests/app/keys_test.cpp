// The main window's character keys and timers on the real window: shortcuts off and on, the
// characters the program posts to itself, a menu held open, every key's flag, the jumps that
// resume through timer 2, and timer 1 ending with playback.
#include <gtest/gtest.h>

#include "analysis/fft_window.h"
#include "audio/level_meter.h"
#include "audio/main_display.h"
#include "main_window_rig.h"

namespace {

using main_window_rig::MainWindowRig;
using main_window_rig::Slice;

constexpr int32_t kBytesPerSecond = 8000;

class KeysTest : public MainWindowRig {};

TEST_F(KeysTest, TypedKeysActOnlyAfterTheMinusKeyButPostedOnesAlways) {
  Start();
  Type('s');
  EXPECT_EQ(playflag, 1) << "shortcuts are off by default";
  Posted('s');
  EXPECT_EQ(playflag, 0) << "the popup's stop carries the marker";
  Type('p');
  EXPECT_EQ(playflag, 0);
  Type('-');
  EXPECT_EQ(KeyboardShortcutsEnabled, 1);
  Type('P');
  EXPECT_EQ(playflag, 0) << "upper case does nothing";
  Type('p');
  EXPECT_EQ(playflag, 1);
}

TEST_F(KeysTest, ShortcutsFromTheSettingsFileNeedNoMinus) {
  KeyboardShortcutsEnabled = 1;  // what the load of keyboardshortcut=1 does
  Start();
  Type('t');
  EXPECT_EQ(playPaused, 1);
}

TEST_F(KeysTest, WithAMenuOpenOnlyXActsAndClosesTheProgram) {
  Start();
  Type('-');
  SendMessageA(hwnd_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(MainPopup), 0);
  EXPECT_EQ(MenuOpen, 1);
  Type('s');
  Posted('q');
  EXPECT_EQ(playflag, 1);
  EXPECT_EQ(statusText, 1);
  Type('x');
  EXPECT_FALSE(IsWindow(hwnd_)) << "the close command ends the program";
}

TEST_F(KeysTest, AClosedMenuLetsKeysThroughAgain) {
  Start();
  SendMessageA(hwnd_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(SystemMenu), MAKELPARAM(0, 1));
  SendMessageA(hwnd_, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(SystemMenu), 0);
  EXPECT_EQ(MenuOpen, 0);
  Posted('x');
  EXPECT_TRUE(IsWindow(hwnd_));
  EXPECT_EQ(levelThreadOff, 0) << "x toggles the level meter thread while no menu is open";
}

// A key and the flag it toggles, with the value the flag starts with.
struct FlagKey {
  char key;
  std::atomic<int32_t>* flag;
  int32_t before;
};

TEST_F(KeysTest, EachFlagKeyTogglesItsFlagBackAndForth) {
  const FlagKey keys[] = {
      {'q', &statusText, 1},
      {'a', &levelHold, 0},
      {'x', &levelThreadOff, 1},
      {'2', &Settings.mainwindowparafull, 0},
      {'c', &Settings.sgwindowlps, 0},
      {'u', &SgControl.paused, 0},
      {'f', &SgControl.waitStats, 0},
      {'v', &VsShowWaits, 0},
      {'w', &FftStatsMode, 0},
      {'3', &FftWideStats, 0},
      {'k', &MainWindowHidden, 0},
  };
  Start();
  for (const FlagKey& k : keys) {
    SCOPED_TRACE(k.key);
    EXPECT_EQ(k.flag->load(), k.before);
    Posted(k.key);
    EXPECT_EQ(k.flag->load(), k.before == 0 ? 1 : 0);
    Posted(k.key);
    EXPECT_EQ(k.flag->load(), k.before);
  }
}

TEST_F(KeysTest, KeysOfLevelTypeWindowStatisticsAndNothing) {
  Start();
  Posted('j');
  EXPECT_EQ(Settings.levelmetertype, 0);
  Posted('j');
  EXPECT_EQ(Settings.levelmetertype, 1);
  Settings.levelmetertype = 4;
  Posted('j');
  EXPECT_EQ(Settings.levelmetertype, 0);

  Posted('k');
  EXPECT_FALSE(IsWindowVisible(hwnd_));
  EXPECT_EQ(FftPositionDisplay, 1) << "the FFT graph shows the position while the main window is hidden";
  PostMessageA(FftWindowHandle(), WM_CHAR, 'k', ShortcutMarker);  // typed into the FFT window
  Pump();
  EXPECT_TRUE(IsWindowVisible(hwnd_));
  EXPECT_EQ(FftPositionDisplay, 0);

  Posted('r');
  EXPECT_EQ(FftStatsOff, 0) << "statistics go off only while the updates are stopped";
  SystemCommand(54);
  Posted('r');
  EXPECT_EQ(FftStatsOff, 1);

  const int32_t before = Settings.levelmetertype;
  for (const char nothing : {'d', 'l', 'A', '#'}) Posted(nothing);
  EXPECT_EQ(Settings.levelmetertype, before);
  EXPECT_EQ(playflag, 1);

  Posted('e');
  EXPECT_EQ(HighPriorityMode, GetPriorityClass(GetCurrentProcess()) == HIGH_PRIORITY_CLASS ? 1 : 0)
      << "the mode flips only when the class could be set";
}

TEST_F(KeysTest, RepaintKeysSetTheIntervalAndTimerOneEndsWithPlayback) {
  Start();
  Posted('z');
  EXPECT_EQ(Settings.mainwindowinvailintervalvariable, 1000);
  Posted('1');
  EXPECT_EQ(Settings.mainwindowinvailintervalvariable, 10);
  Posted('y');
  EXPECT_FALSE(KillTimer(hwnd_, 1)) << "y stops timer 1";
  Posted('1');
  ValidateRect(hwnd_, nullptr);
  SendMessageA(hwnd_, WM_TIMER, 1, 0);
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, hwnd_, WM_PAINT, WM_PAINT, PM_NOREMOVE)) << "a tick while playing repaints";
  Posted('s');
  ValidateRect(hwnd_, nullptr);
  SendMessageA(hwnd_, WM_TIMER, 1, 0);
  EXPECT_FALSE(PeekMessageA(&msg, hwnd_, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  EXPECT_FALSE(KillTimer(hwnd_, 1)) << "the first tick after the stop ends timer 1";
}

TEST_F(KeysTest, SlowRepaintFromThePopupGoesThroughTheKeys) {
  Start();
  PopupCommand(116);
  EXPECT_EQ(Settings.mainwindowinvailintervalvariable, 1000);
  EXPECT_TRUE(main_window_rig::Checked(116, MainPopup));
  PopupCommand(116);
  EXPECT_EQ(Settings.mainwindowinvailintervalvariable, 10);
  EXPECT_FALSE(main_window_rig::Checked(116, MainPopup));
}

TEST_F(KeysTest, BackFiveSecondsAtThreeSecondsResumesFromTheStartThroughTimerTwo) {
  Start();
  Run(3000);
  SystemCommand(86);  // "5秒巻き戻し" posts g with the marker
  EXPECT_EQ(SampleStore.seekBase, 0) << "not negative";
  EXPECT_EQ(resumePending, 1);
  EXPECT_EQ(playflag, 0);
  ASSERT_TRUE(RunUntil([this] { return DevicesOpened() == 2; })) << "timer 2 posts the play command";
  EXPECT_EQ(playflag, 1);
  EXPECT_FALSE(KillTimer(hwnd_, 2)) << "timer 2 is one-shot";
  Run(1000);
  EXPECT_EQ(Heard(1), Slice(samples_, 0, kBytesPerSecond));
}

TEST_F(KeysTest, ForwardWhileStoppedOnlyMovesThePlaceUntilPlay) {
  Start();
  Posted('s');
  Pump();
  Posted('h');
  Posted('h');
  EXPECT_EQ(SampleStore.seekBase, 10 * kBytesPerSecond);
  EXPECT_FALSE(KillTimer(hwnd_, 2)) << "nothing resumes by itself";
  Posted('p');
  Run(1000);
  EXPECT_EQ(Heard(1), Slice(samples_, 10 * kBytesPerSecond, kBytesPerSecond));
}

TEST_F(KeysTest, PlayPostedBehindTheReturningBuffersStillPlays) {
  Start();
  Run(1000);
  Posted('t');
  ASSERT_EQ(DevicesOpened(), 1u);
  // The play command lands between the old device's returned buffers and its close message.
  PostMessageA(hwnd_, WM_CHAR, 'p', ShortcutMarker);
  Pump();
  ASSERT_EQ(DevicesOpened(), 2u);
  Run(1000);
  EXPECT_EQ(Heard(1), Slice(samples_, kBytesPerSecond, kBytesPerSecond))
      << "the old device's close must leave the new device's buffers prepared";
}

TEST_F(KeysTest, TimerFourPutsTheQuietStartBackToNormalOnce) {
  Settings.processprioritylowonstartup = 1;
  Start();
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
  SendMessageA(hwnd_, WM_TIMER, 4, 0);
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
  EXPECT_FALSE(KillTimer(hwnd_, 4)) << "one-shot";
}

}  // namespace
