#include "analysis/fft_window.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "analysis/fft_graph_flags.h"
#include "analysis/fft_thread.h"
#include "analysis/fft_window_menu.h"
#include "support/picture.h"
#include "fft_view_fixture.h"
#include "spectrogram/sg_control.h"

namespace {

using test_support::kBlack;
using test_support::kWhite;
using fftview::FftViewTest;
using fftview::Posted;
using fftview::playing;
using fftview::settings;
using fftview::store;
using fftview::UseFormat;

class FftWindowTest : public FftViewTest {
 protected:
  std::vector<Posted> Command(UINT id, LPARAM lParam = 0) {
    SendMessageA(fft, WM_COMMAND, id, lParam);
    return TakePosted();
  }

  bool Checked(UINT id) const {
    const UINT state = GetMenuState(FftPopup, id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
  }

  // Right-click: the marks are refreshed before the popup shows (and chooses nothing here).
  void RightClick() { SendMessageA(fft, WM_RBUTTONUP, 0, MAKELPARAM(10, 10)); }
};

std::string Title(HWND hwnd) {
  char text[128] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

TEST_F(FftWindowTest, TitleShowsTheSourceFormat) {
  for (const auto& [rate, channels, bits, title] :
       {std::tuple{22050, 2, 16, "fft window(22khz 2ch 16bit)"}, {44100, 2, 16, "fft window(44.1khz 2ch 16bit)"},
        {8000, 1, 8, "fft window(8.0khz 1ch 8bit)"}}) {
    UseFormat(rate, channels, bits);
    EXPECT_EQ(Title(Create()), title);
    DestroyFftWindow();
  }
}

TEST_F(FftWindowTest, PlaceSizeAndCloseCommandComeFromTheSettings) {
  settings.fftwindowpx = 40;
  settings.fftwindowpy = 300;
  settings.fftwindowwidth = 320;
  settings.fftwindowheight = 240;
  Create();
  RECT rect{};
  GetWindowRect(fft, &rect);
  EXPECT_EQ(rect.left, 40);
  EXPECT_EQ(rect.top, 300);
  EXPECT_EQ(rect.right - rect.left, 320);
  EXPECT_EQ(rect.bottom - rect.top, 240);
  RECT client{};
  GetClientRect(fft, &client);
  EXPECT_EQ(FftWindowClientSize().width, client.right);
  EXPECT_TRUE(IsWindowVisible(fft));
  EXPECT_TRUE(GetMenuState(GetSystemMenu(fft, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
  // Resizes and moves are recorded.
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
  EXPECT_FALSE(GetMenuState(GetSystemMenu(fft, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
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

// The marks are refreshed from the state at each right-click.
TEST_F(FftWindowTest, MarksFollowTheState) {
  Create();
  auto marked = [this] {
    RightClick();
    std::vector<UINT> checked;
    for (UINT id = 1; id <= 170; ++id) {
      if (Checked(id)) checked.push_back(id);
    }
    return checked;
  };
  // flattop, log axis, 5 ms, 2048 radix 2, 20×, +0, no interpolation, 0補間, pink noise, light
  // smoothing, old drawing, no rate converter, one point per column, light drawing.
  EXPECT_EQ(marked(), (std::vector<UINT>{9, 11, 14, 19, 23, 33, 35, 61, 96, 103, 104, 152, 155, 161}));
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
  EXPECT_EQ(marked(), (std::vector<UINT>{2, 23, 37, 42, 54, 63, 87, 104, 122, 123, 153, 158, 162, 165}));
  FftSleepNone = 0;
  FftLogAxis = 0;
  RightClick();
  EXPECT_TRUE(Checked(13) && !Checked(87));
  EXPECT_TRUE(Checked(12) && !Checked(165));
}

TEST_F(FftWindowTest, ARadixFourSizeIsChosenHereAndPassedOnAsItsPlainSize) {
  Create();
  EXPECT_EQ(Command(115, 7), (std::vector<Posted>{{WM_SYSCOMMAND, 22, 7}}));
  EXPECT_EQ(settings.fftradix4flagRequested, 1);
  // Nothing changes in force until a source starts: 2048 radix 2 stays marked.
  RightClick();
  EXPECT_TRUE(Checked(23));
  EXPECT_FALSE(Checked(115));
  // Once a start has put 1024 with radix 4 in force, that item is marked, not the plain one.
  settings.fftsample = 1024;
  settings.fftradix4flag = 1;
  RightClick();
  EXPECT_TRUE(Checked(115));
  EXPECT_FALSE(Checked(22));
  EXPECT_FALSE(Checked(23));
  // A plain size chooses radix 2 again.
  EXPECT_EQ(Command(25), (std::vector<Posted>{{WM_SYSCOMMAND, 25, 0}}));
  EXPECT_EQ(settings.fftradix4flagRequested, 0);
  const struct {
    UINT id;
    UINT plain;
  } radix4[] = {{113, 28}, {114, 30}, {116, 24}, {117, 26}};
  for (const auto& item : radix4) EXPECT_EQ(Command(item.id), (std::vector<Posted>{{WM_SYSCOMMAND, item.plain, 0}}));
}

TEST_F(FftWindowTest, ForwardedCommandsReachTheMainWindowsHandlers) {
  Create();
  for (UINT id : {1u, 10u, 11u, 12u, 87u, 13u, 109u, 20u, 28u, 26u, 31u, 42u, 35u, 37u, 61u, 63u, 104u, 103u, 19u,
                  96u, 54u, 64u, 65u, 76u, 85u, 86u, 107u, 108u}) {
    EXPECT_EQ(Command(id, 3), (std::vector<Posted>{{WM_SYSCOMMAND, id, 3}})) << id;
  }
  EXPECT_EQ(Command(165), (std::vector<Posted>{{WM_COMMAND, 165, 0}}));
  EXPECT_EQ(Command(97), (std::vector<Posted>{{WM_COMMAND, 97, 0}}));
  EXPECT_EQ(Command(92), (std::vector<Posted>{{WM_CHAR, 'p', 5252}}));
  EXPECT_EQ(Command(93), (std::vector<Posted>{{WM_CHAR, 't', 5252}}));
  EXPECT_EQ(Command(94), (std::vector<Posted>{{WM_CHAR, 's', 5252}}));
  EXPECT_EQ(Command(95), (std::vector<Posted>{{WM_SYSCOMMAND, SC_CLOSE, 0}}));
  // Forwarding changes nothing here: the main window's handler does.
  EXPECT_EQ(settings.wfkind, 'f');
  EXPECT_EQ(FftLogAxis, 1);
  // Notices, the main menu's 32768 points and unknown ids get default processing.
  for (UINT id : {74u, 112u, 121u, 500u}) EXPECT_TRUE(Command(id).empty()) << id;
}

TEST_F(FftWindowTest, LocalCommandsChangeTheStateHereAndPostNothing) {
  Create();
  EXPECT_TRUE(Command(122).empty());
  EXPECT_EQ(settings.loudnessrevice, 1);
  Command(122);
  EXPECT_EQ(settings.loudnessrevice, 0);
  Command(123);
  EXPECT_EQ(settings.fftgraph0hzdraw, 0);
  Command(123);
  EXPECT_EQ(settings.fftgraph0hzdraw, 1);
  for (auto [id, value] : {std::pair{162u, 0}, {151u, 1}, {161u, 2}}) {
    EXPECT_TRUE(Command(id).empty());
    EXPECT_EQ(settings.smoothingfilter, value) << id;
  }
  const struct {
    UINT id;
    int32_t old;
    int32_t line;
  } drawing[] = {{154, 0, 1}, {153, 0, 0}, {152, 1, 0}};
  for (const auto& item : drawing) {
    FftRelayout = 0;
    EXPECT_TRUE(Command(item.id).empty());
    EXPECT_EQ(settings.fftdrawold, item.old) << item.id;
    EXPECT_EQ(settings.fftdrawline, item.line) << item.id;
    EXPECT_EQ(FftRelayout, 1) << item.id;
  }

  // The rate converter changes the analysis rate.
  for (auto [id, factor, rate] : {std::tuple{156u, 2, 22050}, {158u, 4, 11025}, {155u, 0, 44100}}) {
    FftRelayout = 0;
    SgControl.clearRequest = 0;
    EXPECT_TRUE(Command(id).empty());
    EXPECT_EQ(settings.downrateforfft, factor);
    EXPECT_EQ(store.analysisRate, rate);
    EXPECT_EQ(FftRelayout, 1);
    EXPECT_EQ(SgControl.clearRequest, 1);
  }
}

}  // namespace
