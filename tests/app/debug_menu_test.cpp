// The debug menu on the real main window: its place on the system menu, the marks it starts
// with, every radio group's mark moving with a choice, and the commands the FFT window passes on
// reaching the same handler and marks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/fft_window.h"
#include "analysis/spectrum_frame.h"
#include "main_window_rig.h"
#include "views/waveform_window.h"

namespace {

using main_window_rig::Checked;
using main_window_rig::Grey;
using main_window_rig::MainWindowRig;

std::string MenuText(HMENU menu, UINT position) {
  char text[128] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

class DebugMenuTest : public MainWindowRig {};

TEST_F(DebugMenuTest, HangsOnTheSystemMenuAfterASeparatorWithTheNoticeGreyAndTheStartMarks) {
  Start();
  const int count = GetMenuItemCount(SystemMenu);
  ASSERT_GE(count, 3);
  EXPECT_EQ(GetMenuState(SystemMenu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  EXPECT_EQ(MenuText(SystemMenu, count - 1), "menu for debug");
  EXPECT_EQ(GetSubMenu(SystemMenu, count - 1), DebugMenu);
  EXPECT_EQ(MenuText(DebugMenu, 0), "triangle");
  EXPECT_EQ(GetMenuItemID(DebugMenu, GetMenuItemCount(DebugMenu) - 1), 118u);
  EXPECT_TRUE(Grey(74));
  EXPECT_TRUE(Grey(65)) << "a one-channel source has no vectorscope";
  for (const UINT id : {73u, 64u, 19u, 104u, 11u, 59u, 61u, 84u, 35u}) EXPECT_TRUE(Checked(id)) << id;
  // Toggles checked while their setting is on; 51 while its setting is off.
  for (const UINT id : {96u, 103u, 51u, 49u, 52u, 57u, 89u}) EXPECT_TRUE(Checked(id)) << id;
  for (const UINT id : {12u, 60u, 62u, 63u, 83u, 102u, 36u, 91u, 90u, 56u, 76u, 65u, 82u}) {
    EXPECT_FALSE(Checked(id)) << id;
  }
}

TEST_F(DebugMenuTest, StartMarksFollowTheSettingsFile) {
  Settings.zerofill = 4;
  Settings.sggraphtype = 2;
  Settings.sgspectnowait = 1;
  Settings.wavwindowstop = 0;
  Settings.vswindowstop = 0;
  Settings.sgcolor = 0;
  Settings.sgmousecurhzdis = 1;
  Settings.wavgphffts = 1;
  Start(main_window_rig::Pattern(400000), test_support::FmtFields{});
  EXPECT_FALSE(Grey(65)) << "two channels";
  for (const UINT id : {63u, 102u, 76u, 65u, 91u, 82u}) EXPECT_TRUE(Checked(id)) << id;
  for (const UINT id : {61u, 62u, 84u, 51u, 57u}) EXPECT_FALSE(Checked(id)) << id;
}

// One radio group: the value the settings start with, the item checked for it (0: none), a
// choice, and the value the choice sets.
struct RadioCase {
  const char* name;
  std::vector<UINT> items;
  void (*setAtStart)(int32_t);
  int32_t (*value)();
  int32_t startValue;
  UINT checkedAtStart;
  UINT chosen;
  int32_t chosenValue;
};

void SetWindowKind(int32_t letter) { Settings.wfkind = static_cast<char>(letter); }
int32_t WindowKind() { return Settings.wfkind.load(); }
void SetFftPause(int32_t ms) { Settings.fftwindowsleeptime = ms; }
int32_t FftPause() { return Settings.fftwindowsleeptime; }
void SetFftLength(int32_t n) {
  Settings.fftsample = n;
  Settings.fftsampleRequested = n;
}
int32_t RequestedFftLength() { return Settings.fftsampleRequested; }
void SetFftMagnification(int32_t m) { Settings.fftgraphmagnified = m; }
int32_t FftMagnification() { return Settings.fftgraphmagnified; }
void SetSgMagnification(int32_t m) { Settings.sggraphmagnified = m; }
int32_t SgMagnification() { return Settings.sggraphmagnified; }
void SetVsSamples(int32_t n) { Settings.vecscpsample = n; }
int32_t VsSamples() { return Settings.vecscpsample; }
void SetWavPause(int32_t ms) { Settings.wavwindowsleeptime = ms; }
int32_t WavPause() { return Settings.wavwindowsleeptime; }

const std::vector<UINT> kWindowItems{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
const std::vector<UINT> kPauseItems{87, 13, 109, 14, 15, 16, 17, 18, 20};
const std::vector<UINT> kLengthItems{28, 29, 30, 21, 22, 23, 24, 25, 26, 121};
const std::vector<UINT> kFftMagnificationItems{31, 32, 33, 34, 41, 42};
const std::vector<UINT> kSgMagnificationItems{43, 44, 45, 88, 124, 125, 46, 75, 47, 58, 48, 50};
const std::vector<UINT> kVsItems{66, 67, 68, 69, 70, 71, 72};
const std::vector<UINT> kWavItems{77, 78, 79, 80, 81};

const RadioCase kRadioCases[] = {
    {"WindowHanning", kWindowItems, SetWindowKind, WindowKind, 'n', 2, 5, 'h'},
    {"WindowUnknownLetter", kWindowItems, SetWindowKind, WindowKind, 'q', 0, 10, 'z'},
    {"PauseZeroMarksTheTimeSliceItem", kPauseItems, SetFftPause, FftPause, 0, 13, 87, 0},
    {"PauseNoItem", kPauseItems, SetFftPause, FftPause, 7, 0, 17, 50},
    {"PauseHalfSecond", kPauseItems, SetFftPause, FftPause, 500, 20, 109, 1},
    {"LengthLargest", kLengthItems, SetFftLength, RequestedFftLength, 32768, 121, 28, 64},
    {"LengthNoItem", kLengthItems, SetFftLength, RequestedFftLength, 1000, 0, 22, 1024},
    {"FftMagnification", kFftMagnificationItems, SetFftMagnification, FftMagnification, 20, 33, 42, 200},
    {"SgMagnification", kSgMagnificationItems, SetSgMagnification, SgMagnification, 35, 124, 50, 400},
    {"SgMagnificationNoItem", kSgMagnificationItems, SetSgMagnification, SgMagnification, 60, 0, 75, 75},
    {"VectorscopeSamples", kVsItems, SetVsSamples, VsSamples, 3000, 72, 66, 200},
    {"VectorscopeNoItem", kVsItems, SetVsSamples, VsSamples, 250, 0, 70, 1000},
    {"WavPause", kWavItems, SetWavPause, WavPause, 10, 79, 81, 50},
    {"WavPauseNoItem", kWavItems, SetWavPause, WavPause, 7, 0, 81, 50},
};

class RadioGroupTest : public MainWindowRig, public testing::WithParamInterface<RadioCase> {};

TEST_P(RadioGroupTest, StartsOnTheSettingsItemAndMovesToTheChoice) {
  const RadioCase& c = GetParam();
  c.setAtStart(c.startValue);
  Start();
  for (const UINT id : c.items) EXPECT_EQ(Checked(id), id == c.checkedAtStart) << "at start-up, item " << id;
  SystemCommand(c.chosen);
  EXPECT_EQ(c.value(), c.chosenValue);
  for (const UINT id : c.items) EXPECT_EQ(Checked(id), id == c.chosen) << "after the choice, item " << id;
}

INSTANTIATE_TEST_SUITE_P(Groups, RadioGroupTest, testing::ValuesIn(kRadioCases),
                         [](const testing::TestParamInfo<RadioCase>& info) { return std::string(info.param.name); });

TEST_F(DebugMenuTest, ChoicesSetTheFlagsTheViewsReadAndTheLengthOnlyFromTheNextStart) {
  Start();
  SystemCommand(87);
  EXPECT_EQ(FftSleepNone, 1);
  SystemCommand(14);
  EXPECT_EQ(FftSleepNone, 0) << "any other pause sleeps again";
  SystemCommand(3);
  EXPECT_EQ(WindowRebuild, 1);
  SystemCommand(43);
  EXPECT_EQ(SgControl.rescaleRequest, 1);
  SystemCommand(68);
  EXPECT_EQ(VsParamsChanged, 1);
  SystemCommand(25);
  EXPECT_EQ(Settings.fftsample, 2048) << "the length in force stays until the next start";
  Posted('s');
  Posted('p');
  EXPECT_EQ(Settings.fftsample, 8192);
}

TEST_F(DebugMenuTest, PairsTriplesAndTogglesKeepTheirMarksWithTheirState) {
  Start();
  SystemCommand(12);
  EXPECT_EQ(FftLogAxis, 0);
  EXPECT_TRUE(Checked(12));
  EXPECT_FALSE(Checked(11));
  SystemCommand(63);
  EXPECT_EQ(Settings.zerofill, 4);
  EXPECT_EQ(SamplesPerFrame, 2048 / 4);
  EXPECT_EQ(SgControl.clearRequest, 1);
  EXPECT_TRUE(Checked(63));
  EXPECT_FALSE(Checked(61));
  SystemCommand(83);
  EXPECT_EQ(Settings.sggraphtype, 0);
  EXPECT_TRUE(Checked(83));
  EXPECT_FALSE(Checked(84));

  SgControl.clearRequest = 0;
  SystemCommand(57);  // sgcolor 1 -> 0: no clear
  EXPECT_EQ(Settings.sgcolor, 0);
  EXPECT_FALSE(Checked(57));
  EXPECT_EQ(SgControl.clearRequest, 0);
  SystemCommand(57);
  EXPECT_EQ(SgControl.clearRequest, 1) << "switching the colour on starts a fresh picture";
  SystemCommand(51);
  EXPECT_EQ(Settings.sgspectnowait, 1);
  EXPECT_FALSE(Checked(51)) << "checked while the spectrogram waits";
  SystemCommand(73);
  EXPECT_EQ(VsLineMode, 0);
  EXPECT_FALSE(Checked(73));

  SystemCommand(112);
  EXPECT_EQ(speedDoubleDecimate, 1);
  EXPECT_TRUE(Checked(112));
  EXPECT_TRUE(Grey(118, MainPopup)) << "the double-speed modes exclude each other";
  SystemCommand(112);
  EXPECT_FALSE(Grey(118, MainPopup));
  SystemCommand(111);
  EXPECT_EQ(Settings.fftradix4flag, 1);
}

TEST_F(DebugMenuTest, ShowingAndHidingViewsMovesTheirMarksAndFlags) {
  Start();
  SystemCommand(76);
  EXPECT_EQ(Settings.wavwindowstop, 0);
  EXPECT_TRUE(Checked(76));
  EXPECT_TRUE(KillTimer(hwnd_, 4)) << "timer 4 puts the priority back after the start";
  SystemCommand(76);
  EXPECT_EQ(Settings.wavwindowstop, 1);
  EXPECT_FALSE(Checked(76));
  SystemCommand(65);
  EXPECT_EQ(Settings.vswindowstop, 1) << "no vectorscope for one channel";
  SystemCommand(64);
  EXPECT_EQ(SgControl.stopped, 1);
  EXPECT_EQ(SgWindowShown, 0);
  EXPECT_FALSE(Checked(64));
  SgControl.clearRequest = 0;
  SystemCommand(64);
  EXPECT_EQ(SgControl.stopped, 0);
  EXPECT_EQ(SgControl.clearRequest, 1);
  EXPECT_TRUE(Checked(64));
  SystemCommand(53);
  EXPECT_EQ(SgControl.stopped, 1);
  EXPECT_TRUE(Checked(53));
}

TEST_F(DebugMenuTest, ThreadPrioritiesMoveTheirMarksOnlyWhenChangedAndPlayPutsThemBack) {
  Start();
  ASSERT_TRUE(RunUntil([] { return FftThreadHandle.load() != nullptr; }));
  SystemCommand(37);
  EXPECT_EQ(FftPriorityLevel, 2) << "the level is kept even when the system refuses";
  const bool raised = GetThreadPriority(FftThreadHandle) == THREAD_PRIORITY_HIGHEST;
  EXPECT_EQ(Checked(37), raised);
  EXPECT_EQ(Checked(35), !raised);
  SgControl.threadHandle = nullptr;  // no spectrogram thread: the system cannot be asked
  SystemCommand(60);
  EXPECT_EQ(SgPriorityLevel, 1);
  EXPECT_TRUE(Checked(59));
  EXPECT_FALSE(Checked(60));

  Posted('s');
  Posted('p');
  EXPECT_EQ(FftPriorityLevel, 0);
  EXPECT_EQ(SgPriorityLevel, 0);
  EXPECT_TRUE(Checked(35));
  EXPECT_FALSE(Checked(37));
  EXPECT_TRUE(Checked(59));
}

// An FFT popup choice and what the main window's handlers made of it.
struct Forwarded {
  UINT id;
  bool (*done)();
};

const Forwarded kForwarded[] = {
    {2, [] { return Settings.wfkind == 'n' && Checked(2) && !Checked(9); }},
    {12, [] { return FftLogAxis == 0 && Checked(12) && !Checked(11); }},
    {165, [] { return FftLogAxis == 1 && FftLevelAxis == 1 && Settings.fftdrawold == 1; }},
    {87, [] { return FftSleepNone == 1 && Settings.fftwindowsleeptime == 0 && Checked(87); }},
    {115, [] { return Settings.fftsampleRequested == 1024 && Settings.fftradix4flagRequested == 1 && Checked(22); }},
    {62, [] { return Settings.zerofill == 2 && Checked(62) && !Checked(61); }},
    {34, [] { return Settings.fftgraphmagnified == 50 && Checked(34); }},
    {54, [] { return FftUpdatesStopped == 1 && Checked(54); }},
    {19, [] { return FftOnePointPerColumn == 0 && !Checked(19); }},
    {103, [] { return Settings.pinknoizeflatingfilter == 0 && !Checked(103); }},
    {93, [] { return playflag == 0 && playPaused == 1; }},
};

TEST_F(DebugMenuTest, TheFftWindowsCommandsReachTheMainHandlerAndItsMarks) {
  for (const Forwarded& f : kForwarded) {
    SCOPED_TRACE(f.id);
    Start();
    PostMessageA(FftWindowHandle(), WM_COMMAND, f.id, 0);
    Pump();
    EXPECT_TRUE(f.done());
    TearDown();
    SetUp();
  }
}

// A view window, one of its popup choices (or its close button), and what the main window's
// handlers made of it.
struct ViewForwarded {
  HWND (*window)();
  UINT message;
  UINT id;
  bool (*done)();
};

const ViewForwarded kViewForwarded[] = {
    {VectorscopeWindowHandle, WM_COMMAND, 68, [] { return Settings.vecscpsample == 400 && VsParamsChanged == 1 && Checked(68); }},
    {VectorscopeWindowHandle, WM_COMMAND, 73, [] { return VsLineMode == 0 && !Checked(73); }},
    {VectorscopeWindowHandle, WM_CLOSE, 0, [] { return Settings.vswindowstop == 1 && !Checked(65); }},
    {WaveformWindowHandle, WM_COMMAND, 79, [] { return Settings.wavwindowsleeptime == 10 && Checked(79) && !Checked(80); }},
    {WaveformWindowHandle, WM_COMMAND, 82, [] { return Settings.wavgphffts == 1 && Checked(82); }},
    {WaveformWindowHandle, WM_CLOSE, 0, [] { return Settings.wavwindowstop == 1 && !Checked(76); }},
    {WaveformWindowHandle, WM_CHAR, 'q', [] { return statusText == 0; }},
};

TEST_F(DebugMenuTest, TheVectorscopeAndWaveformWindowsCommandsReachTheMainHandlerAndItsMarks) {
  for (const ViewForwarded& f : kViewForwarded) {
    SCOPED_TRACE(f.id);
    Settings.vswindowstop = 0;
    Settings.wavwindowstop = 0;
    KeyboardShortcutsEnabled = 1;
    Start(main_window_rig::Pattern(400000), test_support::FmtFields{});
    ASSERT_NE(f.window(), nullptr);
    PostMessageA(f.window(), f.message, f.id, 0);
    Pump();
    EXPECT_TRUE(f.done());
    TearDown();
    SetUp();
  }
}

TEST_F(DebugMenuTest, TheFftWindowsExitClosesTheProgramAndTheChoiceIsSaved) {
  const std::string path = (dir_.path() / "morvex.ini").string();
  Start();
  std::snprintf(SettingsPath, sizeof SettingsPath, "%s", path.c_str());
  PostMessageA(FftWindowHandle(), WM_COMMAND, 2, 0);
  PostMessageA(FftWindowHandle(), WM_COMMAND, 95, 0);
  Pump();
  EXPECT_FALSE(IsWindow(hwnd_));
  EXPECT_NE(test_support::ReadFileBytes(path).find("wfkind=n\r\n"), std::string::npos);
}

}  // namespace
