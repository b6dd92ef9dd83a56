#include <gtest/gtest.h>

#include <vector>

#include "platform/user/window_info.h"
#include "platform/win32.h"
#include "tests/platform/recording_window.h"

namespace {

using namespace morvex::testing;

HWND Create() {
  received.clear();
  return CreateRecorded("title", 10, 20, 300, 200);
}

UINT Next(MSG& msg) {
  EXPECT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  return msg.message;
}

// Creation, paint and timers (keys, the close button and minimizing are checked on the Qt windows).
TEST(MessagesTest, OneWindowFromCreationToDestruction) {
  HWND hwnd = Create();
  ASSERT_NE(hwnd, nullptr);
  ASSERT_EQ(MessagesOf(hwnd), (std::vector<UINT>{WM_CREATE, WM_SIZE, WM_MOVE}));
  // Paint comes only to shown windows, and once.
  MSG msg;
  InvalidateRect(hwnd, nullptr, FALSE);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  ShowWindow(hwnd, SW_SHOW);
  EXPECT_EQ(Next(msg), static_cast<UINT>(WM_PAINT));
  DispatchMessageA(&msg);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  // BeginPaint reports the invalid rectangle and erases with the class brush when asked.
  HDC dc = GetDC(hwnd);
  RECT all{0, 0, 1000, 1000}, part{5, 6, 20, 30};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(hwnd, dc);
  InvalidateRect(hwnd, &part, TRUE);
  PAINTSTRUCT paint;
  HDC paintDc = BeginPaint(hwnd, &paint);
  ASSERT_NE(paintDc, nullptr);
  EXPECT_EQ(paint.rcPaint.left, 5);
  EXPECT_EQ(paint.rcPaint.bottom, 30);
  EXPECT_EQ(GetPixel(paintDc, 1, 1), RGB(255, 255, 255));
  EndPaint(hwnd, &paint);
  EXPECT_FALSE(PeekMessageA(&msg, hwnd, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  // Timers fire, take a new period, stop when killed or with their window.
  SetTimer(hwnd, 2, 10, nullptr);
  SetTimer(hwnd, 2, 400, nullptr);
  SetTimer(hwnd, 4, 10, nullptr);
  Sleep(30);  // timer 4 is due; timer 2 took its new period
  EXPECT_TRUE(KillTimer(hwnd, 4));
  SetTimer(hwnd, 5, 20, nullptr);
  std::vector<WPARAM> ticks;
  while (ticks.size() < 4 && GetMessageA(&msg, nullptr, 0, 0)) {
    if (msg.message == WM_TIMER) ticks.push_back(msg.wParam);
  }
  EXPECT_EQ(ticks, (std::vector<WPARAM>{5, 5, 5, 5}));
  DestroyWindow(hwnd);
  EXPECT_FALSE(PostMessageA(hwnd, WM_USER, 0, 0));
  EXPECT_EQ(GetDC(hwnd), nullptr);
  Sleep(30);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
  // A create handler that refuses gets the window destroyed and no handle.
  refuseCreate = true;
  EXPECT_EQ(Create(), nullptr);
  refuseCreate = false;
  ASSERT_FALSE(received.empty());
  EXPECT_EQ(MessagesOf(received[0].hwnd), (std::vector<UINT>{WM_CREATE, WM_DESTROY}));
}

// A top-level window is never smaller than a title bar with its buttons and a frame (136 by 39),
// however it is created, moved or placed by the desktop; a child keeps any size, and a minimized
// window comes back at its last normal size.
TEST(MessagesTest, TopLevelWindowsKeepTheMinimumTrackingSize) {
  const auto outer = [](HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return std::vector<LONG>{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
  };
  HWND hwnd = Create();
  MoveWindow(hwnd, 10, 20, 0, 0, TRUE);
  EXPECT_EQ(Last(hwnd, WM_SIZE)->lParam, MAKELPARAM(120, 0)) << "the client area within the frame";
  const struct {
    int x, y, width, height;
    std::vector<LONG> want;
  } placements[] = {
      {10, 20, 0, 0, {10, 20, 136, 39}},
      {30, 40, 50, 500, {30, 40, 136, 500}},
      {30, 40, 300, 10, {30, 40, 300, 39}},
      {-5, -6, 137, 40, {-5, -6, 137, 40}},
  };
  for (const auto& p : placements) {
    MoveWindow(hwnd, p.x, p.y, p.width, p.height, TRUE);
    EXPECT_EQ(outer(hwnd), p.want) << "moved to " << p.width << " x " << p.height;
    morvex::user::ClientAreaPlaced(hwnd, p.x + 8, p.y + 31, p.width - 16, p.height - 39);
    EXPECT_EQ(outer(hwnd), p.want) << "placed by the desktop at " << p.width << " x " << p.height;
  }
  received.clear();
  HWND created = CreateRecorded("tiny", 50, 60, 0, 0);
  EXPECT_EQ(outer(created), (std::vector<LONG>{50, 60, 136, 39}));
  EXPECT_EQ(Last(created, WM_SIZE)->lParam, MAKELPARAM(120, 0));
  ShowWindow(created, SW_MINIMIZE);
  ShowWindow(created, SW_RESTORE);
  EXPECT_EQ(outer(created), (std::vector<LONG>{50, 60, 136, 39}));
  HWND child = CreateWindowExA(0, "edit", nullptr, WS_CHILD, 0, 0, 0, 0, created, nullptr, nullptr, nullptr);
  MoveWindow(child, 1, 2, 3, 4, TRUE);
  RECT client{};
  GetClientRect(child, &client);
  EXPECT_EQ(client.right * 100 + client.bottom, 304);
  DestroyWindow(created);
  DestroyWindow(hwnd);
}

// Whatever was queued first: posted messages in posting order, then a paint, then a due timer.
TEST(MessagesTest, PostedMessagesComeBeforeAPaintAndAPaintBeforeADueTimer) {
  const struct {
    bool post, paint, timer;
    std::vector<UINT> order;
  } cases[] = {
      {false, true, true, {WM_PAINT, WM_TIMER}},
      {true, true, true, {WM_USER, WM_USER + 1, WM_PAINT, WM_TIMER}},
      {true, false, true, {WM_USER, WM_USER + 1, WM_TIMER}},
      {true, true, false, {WM_USER, WM_USER + 1, WM_PAINT}},
  };
  for (const auto& c : cases) {
    HWND hwnd = Create();
    ShowWindow(hwnd, SW_SHOW);
    Pump();
    if (c.timer) {
      SetTimer(hwnd, 7, 10, nullptr);
      Sleep(30);  // due before the paint and the posts are asked for
    }
    if (c.paint) InvalidateRect(hwnd, nullptr, FALSE);
    if (c.post) {
      PostMessageA(hwnd, WM_USER, 0, 0);
      PostMessageA(hwnd, WM_USER + 1, 0, 0);
    }
    std::vector<UINT> order;
    MSG msg;
    while (order.size() < c.order.size() && PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE)) {
      order.push_back(msg.message);
      DispatchMessageA(&msg);
    }
    KillTimer(hwnd, 7);
    EXPECT_EQ(order, c.order) << c.post << c.paint << c.timer;
    DestroyWindow(hwnd);
  }
}

}  // namespace
