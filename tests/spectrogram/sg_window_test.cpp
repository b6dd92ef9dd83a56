#include "spectrogram/sg_window.h"

#include <gtest/gtest.h>

#include <new>
#include <set>
#include <string>
#include <vector>

#include "app/settings.h"
#include "audio/sample_store.h"
#include "support/picture.h"
#include "support/view_window_rig.h"
#include "spectrogram/sg_control.h"
#include "spectrogram/sg_geometry.h"
#include "spectrogram/sg_surfaces.h"
#include "spectrogram/sg_thread.h"

namespace {

using test_support::Posted;

class SgWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Settings.~SettingsRecord();
    new (&Settings) SettingsRecord();
    playflag = 0;
    SgControl.clearRequest = 0;
    SgControl.repaintRequest = 0;
    SgControl.stopped = 0;
    SgControl.cursorRow = 0;
    SgPriorityLevel = 0;
    main = test_support::CreateStandInMainWindow();
    ASSERT_NE(main, nullptr);
  }

  void TearDown() override {
    DestroySgSurfaces();
    DestroySgWindow();
    DestroyWindow(main);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {}
  }

  HWND Create() {
    sg = CreateSgWindow(main, SW_SHOW);
    CreateSgSurfaces(sg, nullptr);
    Pump();
    TakePosted();
    return sg;
  }

  void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, sg, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }

  std::vector<Posted> TakePosted() { return test_support::TakePosted(main); }

  std::set<UINT> CheckedAfterRightClick() {
    SendMessageA(sg, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    std::set<UINT> checked;
    for (UINT id = 1; id < 200; ++id) {
      const UINT state = GetMenuState(SgPopupMenu(), id, MF_BYCOMMAND);
      if (state != static_cast<UINT>(-1) && (state & MF_CHECKED)) checked.insert(id);
    }
    return checked;
  }

  HWND main = nullptr;
  HWND sg = nullptr;
};

void Describe(HMENU menu, const std::string& indent, std::string* out) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char label[128] = {};
    GetMenuStringA(menu, i, label, sizeof label, MF_BYPOSITION);
    if (const HMENU sub = GetSubMenu(menu, i)) {
      *out += indent + "> " + label + "\n";
      Describe(sub, indent + "  ", out);
    } else if (GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) {
      *out += indent + "-\n";
    } else {
      *out += indent + std::to_string(GetMenuItemID(menu, i)) + " " + label + "\n";
    }
  }
}

TEST_F(SgWindowTest, CreationPlaceTitleCloseItemAndClientSize) {
  Settings.sgwindowpx = 30;
  Settings.sgwindowpy = 200;
  Settings.sgwindowwidth = 320;
  Settings.sgwindowheight = 240;
  Create();
  RECT rect{};
  GetWindowRect(sg, &rect);
  EXPECT_EQ(rect.left, 30);
  EXPECT_EQ(rect.top, 200);
  EXPECT_EQ(rect.right - rect.left, 320);
  EXPECT_EQ(rect.bottom - rect.top, 240);
  char title[64] = {};
  GetWindowTextA(sg, title, sizeof title);
  EXPECT_STREQ(title, "sg window");
  RECT client{};
  GetClientRect(sg, &client);
  EXPECT_EQ(SgControl.clientWidth, client.right);
  EXPECT_EQ(SgControl.clientHeight, client.bottom);
  EXPECT_TRUE(IsWindowVisible(sg));
  EXPECT_TRUE(GetMenuState(GetSystemMenu(sg, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_EQ(SgSurfaceMetrics().charHeight, 16) << "the default font without a text font";
  // A resize, a focus loss and mouse movement reach the thread.
  SendMessageA(sg, WM_SIZE, 0, MAKELPARAM(400, 150));
  EXPECT_EQ(SgControl.clientWidth, 400);
  EXPECT_EQ(SgControl.clientHeight, 150);
  EXPECT_EQ(SgControl.clearRequest, 1);
  SendMessageA(sg, WM_MOUSEMOVE, 0, MAKELPARAM(5, 77));
  EXPECT_EQ(SgControl.cursorRow, 77);
  SendMessageA(sg, WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(SgControl.cursorRow, -1);

  DestroySgSurfaces();
  DestroySgWindow();
  Settings.sgfftclosebuttondisable = 0;
  Create();
  EXPECT_FALSE(GetMenuState(GetSystemMenu(sg, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(SgWindowTest, KeysClosingAndDestructionGoToTheMainWindow) {
  Create();
  SendMessageA(sg, WM_CHAR, 'u', 0x00160001);
  SendMessageA(sg, WM_KEYDOWN, 'U', 0x00160001);
  SendMessageA(sg, WM_CLOSE, 0, 0);
  EXPECT_EQ(TakePosted(), (std::vector<Posted>{{WM_CHAR, 'u', 0x00160001}, {WM_SYSCOMMAND, 64, 0}}));
  EXPECT_TRUE(IsWindow(sg)) << "closing only asks the main window to hide it";
  DestroySgWindow();
  EXPECT_EQ(TakePosted(), (std::vector<Posted>{{WM_DESTROY, 0, 0}}));
}

TEST_F(SgWindowTest, PopupItemsInOrder) {
  Create();
  std::string menu;
  Describe(SgPopupMenu(), "", &menu);
  EXPECT_EQ(menu,
            "> sg表示倍率\n"
            "  43 5倍\n  44 10倍\n  45 20倍\n  88 30倍\n  124 35倍\n  125 40倍\n"
            "  46 50倍\n  75 75倍\n  47 100倍\n  58 150倍\n  48 200倍\n  50 400倍\n"
            "-\n"
            "49 一番右行ったらclearして戻る\n89 補間する\n90 underline\n91 cousorの場所の詳細表示\n"
            "56 縦(周波数軸)をlinerにする\n57 colorにする\n127 lps表示\n128 peak表示\n"
            "132 scaleの数字ずっと表示\n159 fftの計算point表示\n160 scaleの線scrollしても表示\n"
            "163 cのところ緑の点で表示\n"
            "> debug option\n  52 いっぱい描く\n  51 次まで待つ\n"
            "-\n"
            "> sg(color) graphtype\n  83 type1(old)\n  84 type2(b,g wide)\n  102 type 3\n"
            "> sg thread priority\n  59 +0\n  60 +1(up)\n"
            "-\n"
            "101 このwindowをclear\n53 このwindow更新停止\n");
}

TEST_F(SgWindowTest, CheckMarksFollowTheSettings) {
  Create();
  // Defaults: 50x, return mode, many draw, colour, interpolation, type 2, normal priority; the
  // thread waits for each spectrum.
  EXPECT_EQ(CheckedAfterRightClick(), (std::set<UINT>{46, 49, 51, 52, 57, 59, 84, 89}));

  Settings.sggraphmagnified = 400;
  Settings.sggraphreturn = 0;
  Settings.sgspectnowait = 1;
  Settings.sgspectmanydraw = 0;
  Settings.sgliner = 1;
  Settings.sgcolor = 0;
  Settings.sginterpolate = 0;
  Settings.sggraphtype = 2;
  Settings.sgunderline = 1;
  Settings.sgmousecurhzdis = 1;
  Settings.sgwindowlps = 1;
  Settings.sgpeakshow = 1;
  Settings.sghzdraw = 1;
  Settings.sgfftpointshow = 1;
  Settings.sgscaleshowalltime = 1;
  Settings.sgkeycshow = 1;
  SgControl.stopped = 1;
  SgPriorityLevel = 1;
  EXPECT_EQ(CheckedAfterRightClick(), (std::set<UINT>{50, 53, 56, 60, 90, 91, 102, 127, 128, 132, 159, 160, 163}));

  // A magnification no item carries, and a type no item names, leave the marks as they were.
  Settings.sggraphmagnified = 60;
  Settings.sggraphtype = 7;
  EXPECT_EQ(CheckedAfterRightClick(), (std::set<UINT>{50, 53, 56, 60, 90, 91, 102, 127, 128, 132, 159, 160, 163}));
}

TEST_F(SgWindowTest, LocalSwitchesToggleHereOtherItemsGoToTheMainWindow) {
  Create();
  struct Local {
    UINT id;
    std::atomic<int32_t>* setting;
  };
  const Local locals[] = {{127, &Settings.sgwindowlps},    {128, &Settings.sgpeakshow},
                          {132, &Settings.sghzdraw},       {159, &Settings.sgfftpointshow},
                          {160, &Settings.sgscaleshowalltime}, {163, &Settings.sgkeycshow}};
  for (const Local& local : locals) {
    const int32_t before = *local.setting;
    SendMessageA(sg, WM_COMMAND, local.id, 0);
    EXPECT_EQ(*local.setting, before == 0 ? 1 : 0) << local.id;
    SendMessageA(sg, WM_COMMAND, local.id, 0);
    EXPECT_EQ(*local.setting, before) << local.id;
  }
  EXPECT_TRUE(TakePosted().empty());

  const UINT forwarded[] = {43, 44, 45, 88, 124, 125, 46, 75, 47, 58, 48, 50, 49, 89, 90,
                            91, 56, 57, 52, 51, 83, 84, 102, 59, 60, 101, 53};
  std::vector<Posted> want;
  for (UINT id : forwarded) {
    SendMessageA(sg, WM_COMMAND, id, 0);
    want.push_back({WM_SYSCOMMAND, id, 0});
  }
  EXPECT_EQ(Settings.sggraphmagnified, 50) << "the main window carries the magnification out";
  for (UINT id : {0u, 54u, 64u, 126u, 199u}) SendMessageA(sg, WM_COMMAND, id, 0);
  EXPECT_EQ(TakePosted(), want);
}

TEST_F(SgWindowTest, PaintAndCursorReadoutOnlyWhileNothingPlays) {
  Create();
  EXPECT_EQ(SgControl.clearRequest, 1) << "the first size asks the thread for a fresh picture";
  SgControl.clearRequest = 0;
  const int width = SgControl.clientWidth;
  const int height = SgControl.clientHeight;
  SelectObject(SgBackSurface, GetStockObject(BLACK_BRUSH));
  Rectangle(SgBackSurface, -1, -1, width + 1, height + 1);
  const HDC window = GetDC(sg);
  auto paint = [&] {
    Rectangle(window, -1, -1, width + 1, height + 1);
    SgControl.repaintRequest = 0;
    InvalidateRect(sg, nullptr, FALSE);
    Pump();
    EXPECT_EQ(SgControl.repaintRequest, 1);
    return GetPixel(window, width / 2, height / 2);
  };
  EXPECT_EQ(paint(), test_support::kBlack);
  playflag = 1;
  EXPECT_EQ(paint(), test_support::kWhite) << "the running thread repaints";
  playflag = 0;
  SgControl.clearRequest = 1;
  EXPECT_EQ(paint(), test_support::kWhite) << "a clear is pending";
  SgControl.clearRequest = 0;

  // The cursor frequency, white on black at the bottom right, on a logarithmic axis only.
  SgGeometryRecord geometry;
  ComputeSgGeometry(&geometry, 44100, 2048, height);
  PublishSgAxis(geometry);
  Settings.sgmousecurhzdis = 1;
  auto readout = [&](int32_t sgliner) {
    Settings.sgliner = sgliner;
    Rectangle(window, -1, -1, width + 1, height + 1);
    SendMessageA(sg, WM_MOUSEMOVE, 0, MAKELPARAM(10, height / 2));
    int marked = 0;
    for (int x = width - 60; x < width; ++x) {
      for (int y = height - 14; y < height; ++y) marked += GetPixel(window, x, y) == test_support::kWhite ? 0 : 1;
    }
    return marked;
  };
  EXPECT_GT(readout(0), 0);
  EXPECT_EQ(readout(1), 0);
  ReleaseDC(sg, window);
}

}  // namespace
