#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/user/window_info.h"
#include "platform/win32.h"

namespace {

struct Seen {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

std::vector<Seen> seen;
bool refuseCreate = false;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  seen.push_back({msg, wParam, lParam});
  if (msg == WM_CREATE && refuseCreate) return -1;
  if (msg == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(hwnd, &paint);
    EndPaint(hwnd, &paint);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND Create() {
  static const bool registered = [] {
    WNDCLASSA cls{};
    cls.lpfnWndProc = RecordingProc;
    cls.lpszClassName = "recording";
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    return RegisterClassA(&cls) != 0;
  }();
  EXPECT_TRUE(registered);
  seen.clear();
  return CreateWindowExA(0, "recording", "title", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200, nullptr, nullptr, nullptr,
                         nullptr);
}

std::vector<UINT> Ids() {
  std::vector<UINT> out;
  for (const Seen& s : seen) out.push_back(s.msg);
  return out;
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

std::vector<LONG> Box(HWND hwnd, bool client) {
  RECT r;
  client ? GetClientRect(hwnd, &r) : GetWindowRect(hwnd, &r);
  return {r.left, r.top, r.right, r.bottom};
}

UINT Next(MSG& msg) {
  EXPECT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  return msg.message;
}

// One window's life: creation, paint, geometry, the close button and the quit (keys are checked
// through the Qt windows).
TEST(MessagesTest, OneWindowFromCreationToQuit) {
  HWND hwnd = Create();
  ASSERT_NE(hwnd, nullptr);
  ASSERT_EQ(Ids(), (std::vector<UINT>{WM_CREATE, WM_SIZE, WM_MOVE}));
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  EXPECT_EQ(seen[1].lParam, MAKELPARAM(Box(hwnd, true)[2], Box(hwnd, true)[3]));
  EXPECT_EQ(seen[2].lParam, MAKELPARAM(origin.x, origin.y));
  const std::vector<LONG> outer{10, 20, 310, 220};
  EXPECT_EQ(Box(hwnd, false), outer);

  // Paint comes only to shown windows, after the posted messages, and once.
  MSG msg;
  InvalidateRect(hwnd, nullptr, FALSE);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  ShowWindow(hwnd, SW_SHOW);
  PostMessageA(hwnd, WM_USER, 1, 0);
  PostMessageA(hwnd, WM_USER, 2, 0);
  for (UINT expected : {WM_USER, WM_USER, WM_PAINT}) {
    EXPECT_EQ(Next(msg), expected);
    DispatchMessageA(&msg);
  }
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

  ShowWindow(hwnd, SW_SHOWMAXIMIZED);
  EXPECT_EQ(Box(hwnd, true), (std::vector<LONG>{0, 0, GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)}));
  ShowWindow(hwnd, SW_MINIMIZE);
  EXPECT_EQ(Box(hwnd, false)[0], -32000);
  EXPECT_EQ(Box(hwnd, true)[2], 0);
  seen.clear();
  ShowWindow(hwnd, SW_RESTORE);
  EXPECT_EQ(Box(hwnd, false), outer);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front().msg, static_cast<UINT>(WM_SIZE));
  EXPECT_EQ(seen.front().wParam, static_cast<WPARAM>(SIZE_RESTORED));

  // The close button closes and destroys (a grey close item is checked on the Qt windows).
  Pump();
  seen.clear();
  morvex::user::PressCloseButton(hwnd);
  Pump();
  EXPECT_EQ(Ids(), (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(PostMessageA(hwnd, WM_USER, 0, 0));
  EXPECT_EQ(GetDC(hwnd), nullptr);

  // Quit ends the loop after the messages posted before it, with its code.
  PostMessageA(nullptr, WM_USER, 0, 0);
  PostQuitMessage(7);
  EXPECT_EQ(Next(msg), static_cast<UINT>(WM_USER));
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);

  // A create handler that refuses gets the window destroyed and no handle.
  refuseCreate = true;
  EXPECT_EQ(Create(), nullptr);
  refuseCreate = false;
  EXPECT_EQ(Ids(), (std::vector<UINT>{WM_CREATE, WM_DESTROY}));
}

TEST(MessagesTest, PostsFromSeveralThreadsKeepEachThreadsOrder) {
  HWND hwnd = Create();
  constexpr int kThreads = 4, kEach = 500;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([hwnd, t] {
      for (int i = 0; i < kEach; ++i) PostMessageA(hwnd, WM_USER + t, i, 0);
    });
  }
  for (auto& thread : threads) thread.join();
  seen.clear();
  Pump();
  std::vector<WPARAM> next(kThreads, 0);
  for (const Seen& s : seen) {
    ASSERT_LT(s.msg - WM_USER, static_cast<UINT>(kThreads));
    EXPECT_EQ(s.wParam, next[s.msg - WM_USER]++) << "thread " << s.msg - WM_USER;
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(kThreads * kEach));
  DestroyWindow(hwnd);
}

// A timer fires only when nothing else waits; a restarted timer takes its new period, a killed
// one never fires, a periodic one keeps ticking (or this test hangs), a destroyed window's go.
TEST(MessagesTest, TimersTickWithTheirIdsUntilKilled) {
  HWND hwnd = Create();
  SetTimer(hwnd, 1, 10, nullptr);
  Sleep(20);
  PostMessageA(hwnd, WM_USER, 0, 0);
  MSG msg;
  EXPECT_EQ(Next(msg), static_cast<UINT>(WM_USER));
  EXPECT_EQ(Next(msg), static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(msg.wParam, 1u);
  EXPECT_TRUE(KillTimer(hwnd, 1));

  SetTimer(hwnd, 2, 10, nullptr);
  SetTimer(hwnd, 2, 400, nullptr);
  SetTimer(hwnd, 4, 10, nullptr);
  Sleep(30);  // both 10 ms periods due already
  EXPECT_TRUE(KillTimer(hwnd, 4));
  EXPECT_FALSE(KillTimer(hwnd, 4));
  SetTimer(hwnd, 5, 20, nullptr);
  seen.clear();
  std::vector<WPARAM> ticks;
  while (ticks.size() < 4 && GetMessageA(&msg, nullptr, 0, 0)) {
    if (msg.message == WM_TIMER) ticks.push_back(msg.wParam);
  }
  EXPECT_EQ(ticks, (std::vector<WPARAM>{5, 5, 5, 5}));

  DestroyWindow(hwnd);
  Sleep(30);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
}

// The views destroy their popup menus whole: a destroyed menu takes its submenus with it.
TEST(MenusTest, DestroyedMenusTakeTheirSubmenus) {
  HMENU top = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, 62, "fft 補間で2倍にする(wav1/2)");
  AppendMenuA(top, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "menu for debug");
  EXPECT_TRUE(DestroyMenu(top));
  EXPECT_EQ(GetMenuItemCount(sub), -1);
  EXPECT_FALSE(AppendMenuA(sub, MF_STRING, 1, "x"));
}

}  // namespace
