// The main window's right-click popup on the real window: its marks before each showing, its
// choices, the "debug" submenu's message boxes and the spectrum as text.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "analysis/fft_window.h"
#include "spectrogram/sg_window.h"
#include "analysis/shared_spectrum.h"
#include "app/debug_text_window.h"
#include "main_window_rig.h"

namespace {

using main_window_rig::Checked;
using main_window_rig::Grey;
using main_window_rig::MainWindowRig;

class PopupTest : public MainWindowRig {
 protected:
  // A right click at a client point with `id` chosen in the popup that opens.
  void RightClickChoosing(UINT id) {
    main_window_rig::Display().queueMenuChoice(id);
    PostMessageA(hwnd_, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    Pump();
  }
  // What the message box of a popup choice said, as standard error shows every message box.
  std::string BoxOf(UINT id) {
    testing::internal::CaptureStderr();
    PopupCommand(id);
    return testing::internal::GetCapturedStderr();
  }
  // Playback stopped and the FFT thread ended, so that a test's spectrum stays published.
  void StopAnalysis() {
    Posted('s');
    ASSERT_TRUE(RunUntil([] { return ViewThreadsAlive(ViewKind::Fft) == 0; }));
  }
};

TEST_F(PopupTest, MarksAreSetFromTheStateBeforeEachShowing) {
  Start();
  RightClickChoosing(0);
  EXPECT_TRUE(Checked(134, MainPopup)) << "levelmetertype 1";
  EXPECT_TRUE(Checked(139, MainPopup)) << "the file's own 8000 Hz after the first resize";
  EXPECT_TRUE(Checked(64, MainPopup));
  EXPECT_FALSE(Checked(76, MainPopup));
  EXPECT_FALSE(Grey(114, MainPopup)) << "the pitch mode is for one channel";
  EXPECT_TRUE(Grey(65, MainPopup));
  EXPECT_EQ(MenuOpen, 0) << "closed again";

  RightClickChoosing(150);  // rms(accuracy)
  RightClickChoosing(147);  // 48000 Hz from the next start
  RightClickChoosing(118);  // passed on: double speed by blocks
  RightClickChoosing(120);  // the full display, through key 2
  RightClickChoosing(123);
  RightClickChoosing(0);
  EXPECT_EQ(Settings.levelmetertype, 5);
  EXPECT_EQ(Settings.playfreqoptional, 48000);
  EXPECT_EQ(speedDoubleBlocks, 1);
  EXPECT_EQ(Settings.mainwindowparafull, 1);
  EXPECT_EQ(Settings.withoutsavewindowsetting, 1);
  for (const UINT id : {150u, 147u, 118u, 120u, 123u}) EXPECT_TRUE(Checked(id, MainPopup)) << id;
  for (const UINT id : {134u, 139u}) EXPECT_FALSE(Checked(id, MainPopup)) << id;
  EXPECT_TRUE(Checked(118)) << "the debug menu's mark moves too";
  EXPECT_TRUE(Grey(112, MainPopup));

  RightClickChoosing(120);
  RightClickChoosing(0);
  EXPECT_FALSE(Checked(120, MainPopup)) << "the full display is off again";
}

TEST_F(PopupTest, TransportItemsPlayPauseAndStopWithoutShortcuts) {
  Start();
  RightClickChoosing(93);
  EXPECT_EQ(playPaused, 1);
  RightClickChoosing(92);
  EXPECT_EQ(playflag, 1);
  RightClickChoosing(94);
  EXPECT_EQ(playflag, 0);
  EXPECT_EQ(playPaused, 0);
  RightClickChoosing(95);
  EXPECT_FALSE(IsWindow(hwnd_)) << "soft 終了 closes the program";
}

TEST_F(PopupTest, LiveInputStartsOnlyOnceTheFileHasStoppedAndStopsAgain) {
  Start();
  RightClickChoosing(107);
  EXPECT_EQ(inputRunning, 0) << "refused while the file plays";
  RightClickChoosing(94);
  RightClickChoosing(107);
  EXPECT_EQ(inputRunning, 1);
  RightClickChoosing(108);
  Run(2000);  // the device hands its next buffer back and is closed
  EXPECT_EQ(inputRunning, 0);
}

TEST_F(PopupTest, TwoChannelsGreyThePitchModeAndEnableTheVectorscope) {
  Start(main_window_rig::Pattern(400000), test_support::FmtFields{});
  RightClickChoosing(0);
  EXPECT_TRUE(Grey(114, MainPopup));
  EXPECT_FALSE(Grey(65, MainPopup));
  RightClickChoosing(65);
  EXPECT_EQ(Settings.vswindowstop, 0);
  EXPECT_TRUE(Checked(65));
}

TEST_F(PopupTest, DebugSubmenuMessageBoxesSayWhatTheyShouldAndTheProgramGoesOn) {
  Start();
  MainThreadId = GetCurrentThreadId();
  std::snprintf(SettingsPath, sizeof SettingsPath, "%s", "/some/dir/morvex.ini");
  RECT client{};
  GetClientRect(hwnd_, &client);
  RECT fft{};
  GetClientRect(FftWindowHandle(), &fft);
  RECT sg{};
  GetClientRect(SgWindowHandle(), &sg);
  char sizes[256];
  std::snprintf(sizes, sizeof sizes, "[debug] main %d,%d(max%d,%d)px290py160 sg %d,%d fft %d,%d      \n",
                static_cast<int>(client.right), static_cast<int>(client.bottom), GetSystemMetrics(SM_CXFULLSCREEN),
                GetSystemMetrics(SM_CYFULLSCREEN), static_cast<int>(sg.right), static_cast<int>(sg.bottom),
                static_cast<int>(fft.right), static_cast<int>(fft.bottom));
  char threads[64];
  std::snprintf(threads, sizeof threads, "[debug] threadID:main %d(%x) sg ", static_cast<int>(MainThreadId),
                static_cast<unsigned>(MainThreadId));

  EXPECT_EQ(BoxOf(117), "[debug] playflag1 eflag0 buff2     \n");
  EXPECT_EQ(BoxOf(119), "[debug] inifullpath'/some/dir/morvex.ini'   \n");
  EXPECT_EQ(BoxOf(99), "[debug] lasterror=0  \n");
  lasterror = 5;
  lastErrorText = "s==0error";
  EXPECT_EQ(BoxOf(99), "[debug] errordetected:lasterror5  \nlasterrorstr:s==0error\n");
  EXPECT_EQ(BoxOf(122), sizes);
  EXPECT_EQ(BoxOf(98).rfind(threads, 0), 0u);
  EXPECT_EQ(BoxOf(100).rfind("[debug] levelmeterreset:levelmeter更新間隔", 0), 0u);
  EXPECT_EQ(BoxOf(164).rfind("[] dos ", 0), 0u);
  EXPECT_NE(BoxOf(157).find("no debugger"), std::string::npos);
  EXPECT_TRUE(IsWindow(hwnd_)) << "without a debugger the breakpoint is not raised";
  WindowRebuild = 0;
  PopupCommand(166);
  EXPECT_EQ(WindowRebuild, 1);
}

TEST_F(PopupTest, PeakIsTheFirstLargestBinBelowHalfTheLength) {
  Start();
  StopAnalysis();
  std::vector<int32_t> bins(2048, 0);
  bins[7] = 900;
  bins[9] = 900;
  bins[1500] = 5000;  // above half the length: not looked at
  PublishSpectrum(bins.data(), 2048);
  SampleStore.analysisRate = 8000;
  EXPECT_EQ(BoxOf(126), "[debug] peak27hz 900   \n");  // 8000 x 7 / 2048
}

TEST_F(PopupTest, CurrentSpectrumListsEveryBinUpToHalfTheLengthInTheDebugWindow) {
  Start();
  StopAnalysis();
  Settings.fftsample = 64;
  std::vector<int32_t> bins(64);
  for (int32_t i = 0; i < 64; ++i) bins[static_cast<size_t>(i)] = i * 3;
  PublishSpectrum(bins.data(), 64);
  PopupCommand(113);  // "current spect." is passed on as system command 113
  ASSERT_NE(DebugEditControl, nullptr);
  const std::string text = DebugTextBuffer;
  EXPECT_EQ(text.rfind("    0hz     0\r\n  125hz     3\r\n  250hz     6\r\n", 0), 0u);
  const std::string last = " 4000hz    96\r\n";  // bin 32 = 64 / 2, included
  EXPECT_EQ(text.substr(text.size() - last.size()), last);
  EXPECT_EQ(DebugTextLength, static_cast<int32_t>(33 * 15 + 1));

  FftStopRequest = 1;  // key o pending: the command does nothing
  Settings.fftsample = 128;
  SystemCommand(113);
  EXPECT_EQ(std::string(DebugTextBuffer), text);
}

TEST_F(PopupTest, CurrentSpectrumWithWideNumbersStaysInItsBufferAndEndsOnAWholeLine) {
  Start();
  StopAnalysis();
  Settings.fftsample = 32768;
  std::vector<int32_t> bins(32768, 1234567);
  PublishSpectrum(bins.data(), 32768);
  SystemCommand(113);
  const std::string text = DebugTextBuffer;
  size_t lines = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
  EXPECT_LT(text.size() - lines, 20030u) << "the text before its carriage returns fits its 20030 bytes";
  EXPECT_GT(lines, 1000u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

}  // namespace
