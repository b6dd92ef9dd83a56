#include "spectrogram/sg_window.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    playflag = SgControl.clearRequest = SgControl.repaintRequest = SgControl.stopped = SgPriorityLevel = 0;
    main = test_support::CreateStandInMainWindow();
    ASSERT_NE(main, nullptr);
    Create();
  }
  void Create() {
    sg = CreateSgWindow(main, SW_SHOW);
    CreateSgSurfaces(sg, nullptr);
    Pump();
    TakePosted();
  }
  void TearDown() override {
    DestroySgSurfaces();
    DestroySgWindow();
    DestroyWindow(main);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {}
  }
  void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, sg, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  std::vector<Posted> TakePosted() { return test_support::TakePosted(main); }
  std::set<UINT> CheckedAfterRightClick() {
    SendMessageA(sg, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    return test_support::CheckedItems(SgPopupMenu());
  }
  HWND main = nullptr;
  HWND sg = nullptr;
};

// The command items of the menu and its submenus.
void CollectIds(HMENU menu, std::vector<UINT>* ids) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (const HMENU sub = GetSubMenu(menu, i)) {
      CollectIds(sub, ids);
    } else if (!(GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR)) {
      ids->push_back(GetMenuItemID(menu, i));
    }
  }
}

TEST_F(SgWindowTest, PlaceTitleAndWhatReachesTheThreadOrTheMainWindow) {
  Settings.sgwindowpx = 30;
  Settings.sgwindowpy = 200;
  Settings.sgwindowwidth = 320;
  Settings.sgwindowheight = 240;
  DestroySgSurfaces();
  DestroySgWindow();
  Create();
  RECT rect{};
  GetWindowRect(sg, &rect);
  EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}), (std::vector<LONG>{30, 200, 350, 440}));
  char title[64] = {};
  GetWindowTextA(sg, title, sizeof title);
  EXPECT_STREQ(title, "sg window");
  EXPECT_TRUE(GetMenuState(GetSystemMenu(sg, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
  SendMessageA(sg, WM_SIZE, 0, MAKELPARAM(400, 150));
  EXPECT_EQ(SgControl.clientWidth, 400);
  EXPECT_EQ(SgControl.clientHeight, 150);
  EXPECT_EQ(SgControl.clearRequest, 1);
  SendMessageA(sg, WM_MOUSEMOVE, 0, MAKELPARAM(5, 77));
  EXPECT_EQ(SgControl.cursorRow, 77);
  SendMessageA(sg, WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(SgControl.cursorRow, -1);

  SendMessageA(sg, WM_CHAR, 'u', 0x00160001);
  SendMessageA(sg, WM_KEYDOWN, 'U', 0x00160001);
  SendMessageA(sg, WM_CLOSE, 0, 0);
  EXPECT_EQ(TakePosted(), (std::vector<Posted>{{WM_CHAR, 'u', 0x00160001}, {WM_SYSCOMMAND, 64, 0}}));
  EXPECT_TRUE(IsWindow(sg)) << "closing only asks the main window to hide it";
  DestroySgWindow();
  EXPECT_EQ(TakePosted(), (std::vector<Posted>{{WM_DESTROY, 0, 0}}));
}

TEST_F(SgWindowTest, PopupMarksFollowTheSettingsAndItsDisplaySwitchesToggleHere) {
  std::vector<UINT> ids;
  CollectIds(SgPopupMenu(), &ids);
  ASSERT_EQ(ids.size(), 33u);
  // Defaults: 50x, return mode, many draw, waiting, colour, interpolation, type 2, normal priority.
  EXPECT_EQ(CheckedAfterRightClick(), (std::set<UINT>{46, 49, 51, 52, 57, 59, 84, 89}));
  for (auto* flag : {&Settings.sgliner, &Settings.sgspectnowait, &Settings.sgunderline, &Settings.sgmousecurhzdis,
                     &Settings.sgwindowlps, &Settings.sgpeakshow, &Settings.sghzdraw, &Settings.sgfftpointshow,
                     &Settings.sgscaleshowalltime, &Settings.sgkeycshow, &SgControl.stopped, &SgPriorityLevel}) {
    *flag = 1;
  }
  Settings.sggraphreturn = Settings.sgspectmanydraw = Settings.sgcolor = Settings.sginterpolate = 0;
  Settings.sggraphmagnified = 400;
  Settings.sggraphtype = 2;
  const std::set<UINT> changed{50, 53, 56, 60, 90, 91, 102, 127, 128, 132, 159, 160, 163};
  EXPECT_EQ(CheckedAfterRightClick(), changed);
  Settings.sggraphmagnified = 60;  // no item carries these: the marks stay
  Settings.sggraphtype = 7;
  EXPECT_EQ(CheckedAfterRightClick(), changed);

  // The window's own display switches toggle here; every other item goes to the main window.
  const std::pair<UINT, std::atomic<int32_t>*> locals[] = {
      {127, &Settings.sgwindowlps}, {128, &Settings.sgpeakshow},         {132, &Settings.sghzdraw},
      {159, &Settings.sgfftpointshow}, {160, &Settings.sgscaleshowalltime}, {163, &Settings.sgkeycshow}};
  std::vector<Posted> want;
  for (const UINT id : ids) {
    const auto local = std::find_if(std::begin(locals), std::end(locals), [id](const auto& l) { return l.first == id; });
    if (local == std::end(locals)) want.push_back({WM_SYSCOMMAND, id, 0});
    const int32_t before = local == std::end(locals) ? 0 : local->second->load();
    SendMessageA(sg, WM_COMMAND, id, 0);
    if (local != std::end(locals)) {
      EXPECT_EQ(*local->second, 1 - before) << id;
    }
  }
  for (const UINT id : {0u, 54u, 64u, 126u, 199u}) SendMessageA(sg, WM_COMMAND, id, 0);
  EXPECT_EQ(TakePosted(), want);
  EXPECT_EQ(Settings.sggraphmagnified, 60) << "the main window carries the magnification out";
}

TEST_F(SgWindowTest, PaintAndCursorReadoutOnlyWhileNothingPlays) {
  EXPECT_EQ(SgControl.clearRequest, 1) << "the first size asks the thread for a fresh picture";
  SgControl.clearRequest = 0;
  const int width = SgControl.clientWidth;
  const int height = SgControl.clientHeight;
  SelectObject(SgBackSurface, GetStockObject(BLACK_BRUSH));
  Rectangle(SgBackSurface, -1, -1, width + 1, height + 1);
  const HDC window = GetDC(sg);
  const auto paint = [&](int32_t playing, int32_t clear) {
    playflag = playing;
    SgControl.clearRequest = clear;
    SgControl.repaintRequest = 0;
    Rectangle(window, -1, -1, width + 1, height + 1);
    InvalidateRect(sg, nullptr, FALSE);
    Pump();
    EXPECT_EQ(SgControl.repaintRequest, 1);
    return GetPixel(window, width / 2, height / 2);
  };
  EXPECT_EQ(paint(0, 0), test_support::kBlack);
  EXPECT_EQ(paint(1, 0), test_support::kWhite) << "the running thread repaints";
  EXPECT_EQ(paint(0, 1), test_support::kWhite) << "a clear is pending";
  SgControl.clearRequest = 0;

  // The cursor frequency, white on black at the bottom right, on a logarithmic axis only.
  SgGeometryRecord geometry;
  ComputeSgGeometry(&geometry, 44100, 2048, height);
  PublishSgAxis(geometry);
  Settings.sgmousecurhzdis = 1;
  for (const int32_t sgliner : {0, 1}) {
    Settings.sgliner = sgliner;
    Rectangle(window, -1, -1, width + 1, height + 1);
    SendMessageA(sg, WM_MOUSEMOVE, 0, MAKELPARAM(10, height / 2));
    EXPECT_EQ(test_support::InkIn(window, width - 60, height - 14, width, height) > 0, sgliner == 0);
  }
  ReleaseDC(sg, window);
}

}  // namespace
