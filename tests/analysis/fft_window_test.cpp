#include "analysis/fft_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/fft_graph_flags.h"
#include "analysis/fft_thread.h"
#include "analysis/fft_window_menu.h"
#include "fft_view_fixture.h"
#include "spectrogram/sg_control.h"
#include "support/picture.h"

namespace {

using fftview::playing;
using fftview::Posted;
using fftview::settings;
using fftview::store;
using test_support::kBlack;
using test_support::kWhite;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::Not;

class FftWindowTest : public fftview::FftViewTest {
 protected:
  std::vector<Posted> Command(UINT id, LPARAM lParam = 0) {
    SendMessageA(fft, WM_COMMAND, id, lParam);
    return TakePosted();
  }
  // The marked items after a right-click, which refreshes the marks from the state.
  std::vector<UINT> Marked() {
    SendMessageA(fft, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    std::vector<UINT> checked;
    for (UINT id = 1; id <= 170; ++id) {
      const UINT state = GetMenuState(FftPopup, id, MF_BYCOMMAND);
      if (state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0) checked.push_back(id);
    }
    return checked;
  }
  bool CloseGreyed() { return GetMenuState(GetSystemMenu(fft, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED; }
};

TEST_F(FftWindowTest, TitlePlaceSizeAndCloseComeFromTheSourceAndTheSettings) {
  for (const auto& [rate, channels, bits, title] :
       {std::tuple{22050, 2, 16, "fft window(22khz 2ch 16bit)"}, {44100, 2, 16, "fft window(44.1khz 2ch 16bit)"},
        {8000, 1, 8, "fft window(8.0khz 1ch 8bit)"}}) {
    fftview::UseFormat(rate, channels, bits);
    char text[128] = {};
    GetWindowTextA(Create(), text, sizeof text);
    EXPECT_EQ(std::string(text), title);
    DestroyFftWindow();
  }
  settings.fftwindowpx = 40;
  settings.fftwindowpy = 300;
  settings.fftwindowwidth = 320;
  settings.fftwindowheight = 240;
  Create();
  RECT rect{};
  GetWindowRect(fft, &rect);
  EXPECT_EQ(std::tuple(rect.left, rect.top, rect.right, rect.bottom), std::tuple(40, 300, 360, 540));
  EXPECT_TRUE(CloseGreyed());
  FftRelayout = 0;
  SendMessageA(fft, WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 150));
  EXPECT_EQ(FftWindowClientSize().width, 400);
  EXPECT_EQ(FftWindowClientSize().height, 150);
  EXPECT_EQ(FftRelayout, 1);
  SendMessageA(fft, WM_MOVE, 0, MAKELPARAM(-20, 77));
  EXPECT_EQ(settings.fftwindowpx, -20);
  EXPECT_EQ(settings.fftwindowpy, 77);
  DestroyFftWindow();
  settings.sgfftclosebuttondisable = 0;
  Create();
  EXPECT_FALSE(CloseGreyed());
}

TEST_F(FftWindowTest, KeysAndClosingGoToTheMainWindow) {
  Create();
  SendMessageA(fft, WM_CHAR, 'p', 0x00190001);
  SendMessageA(fft, WM_KEYDOWN, 'P', 0x00190001);
  EXPECT_EQ(TakePosted(), (std::vector<Posted>{{WM_CHAR, 'p', 0x00190001}}));
  SendMessageA(fft, WM_CLOSE, 0, 0);
  EXPECT_EQ(TakePosted(), (std::vector<Posted>{{WM_CLOSE, 0, 0}}));
  EXPECT_TRUE(IsWindow(fft));
  DestroyFftWindow();
  EXPECT_FALSE(IsWindow(fft));
  EXPECT_EQ(TakePosted(), (std::vector<Posted>{{WM_DESTROY, 0, 0}}));
}

TEST_F(FftWindowTest, PaintShowsTheLastPictureWhileNoSourceRuns) {
  Create();
  const FftWindowSize size = FftWindowClientSize();
  SelectObject(FftBackSurface, GetStockObject(BLACK_BRUSH));
  Rectangle(FftBackSurface, -1, -1, size.width + 1, size.height + 1);
  const HDC window = GetDC(fft);
  auto paint = [&] {
    Rectangle(window, -1, -1, size.width + 1, size.height + 1);
    InvalidateRect(fft, nullptr, FALSE);
    Pump();
    return GetPixel(window, size.width - 1, size.height - 1);
  };
  EXPECT_EQ(paint(), kBlack);
  // Minimised and restored after the end: the relayout waits for the next start, the picture stays.
  SendMessageA(fft, WM_SIZE, SIZE_MINIMIZED, 0);
  SendMessageA(fft, WM_SIZE, SIZE_RESTORED, MAKELPARAM(size.width, size.height));
  EXPECT_EQ(FftRelayout, 1);
  EXPECT_EQ(paint(), kBlack);
  playing = 1;
  EXPECT_EQ(paint(), kWhite);  // the FFT thread draws while a source runs
  settings.fftdrawold = 0;
  settings.fftdrawline = 1;  // erase-with-lines: the grid surface, also while running
  SelectObject(FftGridSurface, GetStockObject(BLACK_BRUSH));
  Rectangle(FftGridSurface, -1, -1, size.width + 1, size.height + 1);
  EXPECT_EQ(paint(), kBlack);
  ReleaseDC(fft, window);
}

TEST_F(FftWindowTest, MarksFollowTheState) {
  Create();
  // flattop, log axis, 5 ms, 2048 radix 2, 20×, +0, no interpolation, 0補間, pink noise, light
  // smoothing, old drawing, no rate converter, one point per column, light drawing.
  EXPECT_EQ(Marked(), (std::vector<UINT>{9, 11, 14, 19, 23, 33, 35, 61, 96, 103, 104, 152, 155, 161}));
  settings.wfkind = 'n';
  settings.fftwindowsleeptime = 0;
  FftSleepNone = 1;
  settings.fftgraphmagnified = 200;
  FftPriorityLevel = 2;
  settings.zerofill = 4;
  settings.pinknoizeflatingfilter = 0;
  settings.loudnessrevice = 1;
  settings.fftgraph0hzdraw = 0;
  settings.smoothingfilter = 0;
  settings.fftdrawold = 0;
  settings.fftdrawline = 0;
  settings.downrateforfft = 4;
  settings.fftgraphmodelight = 0;
  FftOnePointPerColumn = 0;
  FftUpdatesStopped = 1;
  FftLevelAxis = 1;
  EXPECT_EQ(Marked(), (std::vector<UINT>{2, 23, 37, 42, 54, 63, 87, 104, 122, 123, 153, 158, 162, 165}));
  FftSleepNone = 0;
  FftLogAxis = 0;
  settings.fftsample = 1024;  // put in force with radix 4 by a start: its radix 4 item is marked
  settings.fftradix4flag = 1;
  EXPECT_EQ(Marked(), (std::vector<UINT>{2, 12, 13, 37, 42, 54, 63, 104, 115, 122, 123, 153, 158, 162}));
}

// The main window's handlers act on forwarded commands; nothing changes here.
TEST_F(FftWindowTest, CommandsForwardedToTheMainWindow) {
  Create();
  EXPECT_EQ(Command(115, 7), (std::vector<Posted>{{WM_SYSCOMMAND, 22, 7}}));  // radix 4 1024: the plain size
  EXPECT_EQ(settings.fftradix4flagRequested, 1);
  EXPECT_THAT(Marked(), AllOf(Contains(23u), Not(Contains(115u)))) << "2048 radix 2 stays marked until a start";
  EXPECT_EQ(Command(25), (std::vector<Posted>{{WM_SYSCOMMAND, 25, 0}}));
  EXPECT_EQ(settings.fftradix4flagRequested, 0);
  for (auto [id, sent] : {std::pair{113u, 28u}, {117u, 26u}, {1u, 1u}, {87u, 87u}, {42u, 42u}, {108u, 108u}}) {
    EXPECT_EQ(Command(id, 3), (std::vector<Posted>{{WM_SYSCOMMAND, sent, 3}})) << id;
  }
  EXPECT_EQ(Command(165), (std::vector<Posted>{{WM_COMMAND, 165, 0}}));
  EXPECT_EQ(Command(97), (std::vector<Posted>{{WM_COMMAND, 97, 0}}));
  EXPECT_EQ(Command(92), (std::vector<Posted>{{WM_CHAR, 'p', 5252}}));
  EXPECT_EQ(Command(94), (std::vector<Posted>{{WM_CHAR, 's', 5252}}));
  EXPECT_EQ(Command(95), (std::vector<Posted>{{WM_SYSCOMMAND, SC_CLOSE, 0}}));
  EXPECT_EQ(settings.wfkind, 'f');
  EXPECT_EQ(FftLogAxis, 1);
  // Notices, the main menu's 32768 points and unknown ids get default processing.
  for (UINT id : {74u, 112u, 121u, 500u}) EXPECT_TRUE(Command(id).empty()) << id;
}

TEST_F(FftWindowTest, LocalCommandsChangeTheStateHereAndPostNothing) {
  Create();
  const struct {
    UINT id;
    std::atomic<int32_t> SettingsRecord::*field;
    int32_t value;
    bool relayout;
  } cases[] = {
      {122, &SettingsRecord::loudnessrevice, 1, false},  {122, &SettingsRecord::loudnessrevice, 0, false},
      {123, &SettingsRecord::fftgraph0hzdraw, 0, false}, {123, &SettingsRecord::fftgraph0hzdraw, 1, false},
      {162, &SettingsRecord::smoothingfilter, 0, false}, {161, &SettingsRecord::smoothingfilter, 2, false},
      {154, &SettingsRecord::fftdrawline, 1, true},      {154, &SettingsRecord::fftdrawold, 0, true},
      {153, &SettingsRecord::fftdrawline, 0, true},      {153, &SettingsRecord::fftdrawold, 0, true},
      {152, &SettingsRecord::fftdrawold, 1, true},       {152, &SettingsRecord::fftdrawline, 0, true},
  };
  for (const auto& c : cases) {
    FftRelayout = 0;
    EXPECT_TRUE(Command(c.id).empty()) << c.id;
    EXPECT_EQ(settings.*c.field, c.value) << c.id;
    EXPECT_EQ(FftRelayout, c.relayout ? 1 : 0) << c.id;
  }
  // The rate converter changes the analysis rate.
  for (auto [id, factor, rate] : {std::tuple{156u, 2, 22050}, {158u, 4, 11025}, {155u, 0, 44100}}) {
    FftRelayout = 0;
    SgControl.clearRequest = 0;
    EXPECT_TRUE(Command(id).empty());
    EXPECT_EQ(std::tuple(settings.downrateforfft.load(), store.analysisRate.load(), FftRelayout.load(), SgControl.clearRequest.load()),
              std::tuple(factor, rate, 1, 1))
        << id;
  }
}

}  // namespace
