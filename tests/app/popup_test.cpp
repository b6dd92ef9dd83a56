// The main window's right-click popup: its marks at each showing, its choices, the "debug"
// submenu's message boxes and the spectrum as text in the debug window.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "analysis/fft_window.h"
#include "analysis/shared_spectrum.h"
#include "app/debug_text_window.h"
#include "audio/view_threads.h"
#include "main_window_rig.h"
#include "spectrogram/sg_window.h"

namespace {

using main_window_rig::Checked;
using main_window_rig::Grey;
using main_window_rig::MainWindowRig;

class PopupTest : public MainWindowRig {
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

TEST_F(PopupTest, MarksFollowTheStateAtEachShowingAndChoicesReachTheirSettings) {
  Start();
  RightClickChoosing(0);
  // Level meter type 1, the file's own 8000 Hz (after the first resize), the spectrogram shown.
  EXPECT_EQ(main_window_rig::CheckedItems(MainPopup), (std::set<UINT>{64, 134, 139}));
  EXPECT_FALSE(Grey(114, MainPopup)) << "the pitch mode is for one channel";
  EXPECT_TRUE(Grey(65, MainPopup));
  EXPECT_EQ(MenuOpen, 0) << "closed again";
  for (const UINT id : {150u, 118u, 120u, 123u, 0u}) RightClickChoosing(id);
  EXPECT_EQ(Settings.levelmetertype, 5);
  EXPECT_EQ(Settings.mainwindowparafull, 1) << "through key 2";
  EXPECT_EQ(Settings.withoutsavewindowsetting, 1);
  EXPECT_EQ(main_window_rig::CheckedItems(MainPopup), (std::set<UINT>{64, 118, 120, 123, 139, 150}));
  EXPECT_TRUE(Checked(118)) << "the debug menu's mark moves too";
  EXPECT_TRUE(Grey(112, MainPopup)) << "the double-speed modes exclude each other";
  RightClickChoosing(120);
  RightClickChoosing(0);
  EXPECT_FALSE(Checked(120, MainPopup)) << "the full display is off again";
  RightClickChoosing(95);
  EXPECT_FALSE(IsWindow(hwnd_)) << "soft 終了 closes the program";
}

TEST_F(PopupTest, DebugSubmenuMessageBoxesSayWhatTheyShouldAndTheProgramGoesOn) {
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

TEST_F(PopupTest, CurrentSpectrumListsEveryBinUpToHalfTheLengthInTheDebugWindow) {
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
  size_t lines = 0;
  for (size_t at = wide.find("\r\n"); at != std::string::npos; at = wide.find("\r\n", at + 2)) ++lines;
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

}  // namespace
