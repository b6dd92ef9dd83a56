// The real main window: the right-click popup's marks and choices, the
// "debug" submenu's message boxes and the spectrum as text, the debug menu's place, marks and
// commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "app/debug_text_window.h"
#include "audio/main_display.h"
#include "main_window_rig.h"
#include "platform/user/window_info.h"
#include "shared/shared_spectrum.h"
#include "shared/view_threads.h"

namespace {

using main_window_rig::Checked;
using main_window_rig::Grey;

class MainWindowTest : public main_window_rig::MainWindowRig {
 protected:
  // What a popup choice's message box said: standard error shows every message box.
  std::string BoxOf(UINT id) {
    testing::internal::CaptureStderr();
    PopupCommand(id);
    return testing::internal::GetCapturedStderr();
  }
  // Playback stopped and the FFT thread ended, so that a test's spectrum stays published.
  void PublishWithoutAnalysis(int32_t n, int32_t value) {
    Posted('s');
    ASSERT_TRUE(RunUntil([] { return ViewThreadsAlive(ViewKind::Fft) == 0; }));
    std::vector<int32_t> bins(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) bins[static_cast<size_t>(i)] = value < 0 ? i * 3 : value;
    Settings.fftsample = n;
    PublishSpectrum(bins.data(), n);
  }
};

TEST_F(MainWindowTest, PlayPostedBehindTheReturningBuffersStillPlays) {
  Start();
  Run(1000);
  SendMessageA(hwnd_, WM_CHAR, 't', ShortcutMarker);
  // Play lands between the old device's returned buffers and its close message.
  Posted('p');
  ASSERT_EQ(clock_.OutputStreamCount(), 2u);
  Run(1000);
  EXPECT_EQ(clock_.Heard(1), main_window_rig::Slice(samples_, 8000, 8000))
      << "the old device's close must leave the new device's buffers prepared";
}

TEST_F(MainWindowTest, PopupOfAOneChannelSourceAndItsChoices) {
  Start();
  RightClickChoosing(0);
  // Level meter type 1, the file's own 8000 Hz (after the first resize), the spectrogram shown.
  EXPECT_EQ(main_window_rig::CheckedItems(MainPopup), (std::set<UINT>{64, 134, 139}));
  EXPECT_FALSE(Grey(114, MainPopup)) << "the pitch mode is for one channel";
  EXPECT_TRUE(Grey(65, MainPopup));
  RightClickChoosing(95);
  EXPECT_FALSE(IsWindow(hwnd_)) << "soft 終了 closes the program";
}

TEST_F(MainWindowTest, DebugSubmenuMessageBoxesSayWhatTheyShouldAndTheProgramGoesOn) {
  Start();
  std::snprintf(SettingsPath, sizeof SettingsPath, "%s", "/some/dir/morvex.ini");
  EXPECT_EQ(BoxOf(117), "[debug] playflag1 eflag0 buff2     \n");
  EXPECT_EQ(BoxOf(119), "[debug] inifullpath'/some/dir/morvex.ini'   \n");
  EXPECT_EQ(BoxOf(99), "[debug] lasterror=0  \n");
  lasterror = 5;
  lastErrorText = "s==0error";
  EXPECT_EQ(BoxOf(99), "[debug] errordetected:lasterror5  \nlasterrorstr:s==0error\n");
  EXPECT_EQ(BoxOf(100).rfind("[debug] levelmeterreset:levelmeter更新間隔", 0), 0u);
  EXPECT_EQ(BoxOf(164).rfind("[] dos ", 0), 0u);
  EXPECT_NE(BoxOf(157).find("no debugger"), std::string::npos);
  EXPECT_TRUE(IsWindow(hwnd_)) << "without a debugger the breakpoint is not raised";
  PopupCommand(166);
  EXPECT_EQ(WindowRebuild, 1);
  PublishWithoutAnalysis(2048, 0);
  std::vector<int32_t> bins(2048, 0);
  bins[7] = bins[9] = 900;
  bins[1500] = 5000;  // above half the length: not looked at
  PublishSpectrum(bins.data(), 2048);
  SampleStore.analysisRate = 8000;
  EXPECT_EQ(BoxOf(126), "[debug] peak27hz 900   \n") << "the first largest bin, 8000 x 7 / 2048";
}

TEST_F(MainWindowTest, CurrentSpectrumListsEveryBinUpToHalfTheLengthInTheDebugWindow) {
  Start();
  PublishWithoutAnalysis(64, -1);
  PopupCommand(113);  // "current spect." is passed on as system command 113
  ASSERT_NE(DebugEditControl, nullptr);
  const std::string text = DebugTextBuffer;
  EXPECT_EQ(text.rfind("    0hz     0\r\n  125hz     3\r\n  250hz     6\r\n", 0), 0u);
  EXPECT_EQ(text.substr(text.size() - 15), " 4000hz    96\r\n") << "bin 32 = 64 / 2 is the last";
  EXPECT_EQ(DebugTextLength, 33 * 15 + 1);
  PublishWithoutAnalysis(32768, 1234567);  // wider numbers than the 17 characters planned a line
  SystemCommand(113);
  const std::string wide = DebugTextBuffer;
  const auto lines = static_cast<size_t>(std::count(wide.begin(), wide.end(), '\r'));
  EXPECT_LT(wide.size() - lines, 20030u) << "the text before its carriage returns fits its 20030 bytes";
  EXPECT_GT(lines, 1000u);
  EXPECT_EQ(wide.substr(wide.size() - 2), "\r\n") << "ends on a whole line";
  // The window's buffer stops short of its end, never inside a line end, and its edit control
  // shows it; closing the window ends the message loop.
  const HWND control = DebugTextClear();
  EXPECT_EQ(DebugTextAppend(std::string(kDebugTextBytes - 2, 'f').c_str()), control) << "the window is made once";
  DebugTextAppend("\n\n");  // one byte left before the zero: no room for CR LF
  EXPECT_EQ(DebugTextLength, kDebugTextBytes - 1);
  DebugTextAppend("yz");
  EXPECT_EQ(DebugTextLength, kDebugTextBytes);
  std::string shown(kDebugTextBytes, '\0');
  shown.resize(static_cast<size_t>(GetWindowTextA(control, shown.data(), kDebugTextBytes)));
  EXPECT_EQ(shown, std::string(kDebugTextBytes - 2, 'f') + "y");
  SendMessageA(DebugWindow, WM_CLOSE, 0, 0);
  EXPECT_EQ(DebugEditControl, nullptr);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 0u);
}

// The radio groups start on the settings' item: 13 for no pause, 121 for 32768 points, none for a
// magnification no item has, 79 where 80 is marked before the settings are read.
TEST_F(MainWindowTest, DebugMenuHangsOnTheSystemMenuWithItsStartMarksFromTheSettings) {
  Settings.zerofill = 4;
  Settings.sggraphtype = 2;
  Settings.sgspectnowait = Settings.sgmousecurhzdis = Settings.wavgphffts = 1;
  Settings.wavwindowstop = Settings.vswindowstop = Settings.sgcolor = 0;
  Settings.fftwindowsleeptime = 0;
  Settings.fftsampleRequested = 32768;
  Settings.sggraphmagnified = 60;
  Settings.wavwindowsleeptime = 10;
  Start(main_window_rig::Pattern(400000), test_support::FmtFields{});
  char title[32] = {};
  GetMenuStringA(SystemMenu, GetMenuItemCount(SystemMenu) - 1, title, sizeof title, MF_BYPOSITION);
  EXPECT_STREQ(title, "menu for debug");
  EXPECT_TRUE(Grey(74) && !Grey(65)) << "the vectorscope's item is open to two channels";
  EXPECT_EQ(main_window_rig::CheckedItems(SystemMenu),
            (std::set<UINT>{9, 11, 13, 19, 33, 35, 49, 52, 59, 63, 64, 65, 67, 73, 76, 79, 82, 89, 91, 96, 102,
                            103, 104, 121}));
}

TEST_F(MainWindowTest, DebugMenuCommandsSetWhatTheViewsReadAndKeepTheirMarks) {
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
  SystemCommand(65);
  EXPECT_EQ(Settings.vswindowstop, 1) << "no vectorscope for one channel";
}

// Live input records one channel, but the vectorscope of a two-channel file stays a window the
// user can hide and show: by its close button and both menus; a resize of the main window does
// not grey its item, and the settings keep its geometry.
TEST_F(MainWindowTest, DuringLiveInputTheVectorscopeOfAStereoFileCanBeHiddenAndShown) {
  Settings.vswindowstop = Settings.sgfftclosebuttondisable = 0;
  Start(main_window_rig::Bytes(400000, 0), test_support::FmtFields{});
  const HWND vectorscope = VectorscopeWindowHandle();
  ASSERT_TRUE(vectorscope && IsWindowVisible(vectorscope));
  Posted('s');
  SystemCommand(107);
  ASSERT_EQ(inputRunning, 1);
  ASSERT_EQ(SampleStore.format.nChannels, 1) << "the views compute with the input's format";
  MoveWindow(hwnd_, 10, 10, 500, 300, TRUE);
  Pump();
  RightClickChoosing(0);
  EXPECT_FALSE(Grey(65, DebugMenu) || Grey(65, MainPopup));
  morvex::user::PressCloseButton(vectorscope);
  Pump();
  EXPECT_TRUE(Settings.vswindowstop == 1 && !IsWindowVisible(vectorscope)) << "hidden by its close button";
  SystemCommand(65);
  EXPECT_TRUE(Settings.vswindowstop == 0 && IsWindowVisible(vectorscope)) << "shown from the debug menu";
  RightClickChoosing(65);
  EXPECT_TRUE(Settings.vswindowstop == 1 && !IsWindowVisible(vectorscope)) << "hidden from the popup";
  SystemCommand(65);
  // Closed while the input runs: the shown vectorscope's geometry is saved as for the file.
  const std::string ini = (dir_.path() / "morvex.ini").string();
  std::snprintf(SettingsPath, sizeof SettingsPath, "%s", ini.c_str());
  DestroyWindow(hwnd_);
  Pump();
  EXPECT_NE(test_support::ReadFileBytes(ini).find("\r\nvscliantwidth(do not use)="), std::string::npos);
}

}  // namespace
