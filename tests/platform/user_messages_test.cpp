#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/user/keyboard.h"
#include "platform/user/window_info.h"
#include "platform/win32.h"

namespace {

struct Seen {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

std::vector<Seen>* journal = nullptr;
bool destroyOnCreate = false;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (journal) journal->push_back({hwnd, msg, wParam, lParam});
  if (msg == WM_CREATE && destroyOnCreate) return -1;
  if (msg == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(hwnd, &paint);
    EndPaint(hwnd, &paint);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class MessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool registered = false;
    if (!registered) {
      WNDCLASSA cls{};
      cls.lpfnWndProc = RecordingProc;
      cls.lpszClassName = "recording";
      cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
      ASSERT_NE(RegisterClassA(&cls), 0);
      registered = true;
    }
    journal = &seen;
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {}
    journal = nullptr;
  }
  HWND Create(DWORD style = WS_OVERLAPPEDWINDOW) {
    hwnd = CreateWindowExA(0, "recording", "title", style, 10, 20, 300, 200, nullptr, nullptr, nullptr, nullptr);
    return hwnd;
  }
  std::vector<UINT> Messages() const {
    std::vector<UINT> out;
    for (const Seen& s : seen) out.push_back(s.msg);
    return out;
  }
  // Handles what is queued now, as the message loop would.
  void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  std::vector<Seen> seen;
  HWND hwnd = nullptr;
};

TEST_F(MessagesTest, CreationSendsCreateSizeAndMoveInsideTheCallOrIsRefused) {
  ASSERT_NE(Create(), nullptr);
  ASSERT_EQ(Messages(), (std::vector<UINT>{WM_CREATE, WM_SIZE, WM_MOVE}));
  // The client area is the outer size without the frame; WM_MOVE carries the client origin.
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(LOWORD(seen[1].lParam), client.right);
  EXPECT_EQ(HIWORD(seen[1].lParam), client.bottom);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  EXPECT_EQ(static_cast<SHORT>(LOWORD(seen[2].lParam)), origin.x);
  EXPECT_EQ(static_cast<SHORT>(HIWORD(seen[2].lParam)), origin.y);
  RECT outer;
  GetWindowRect(hwnd, &outer);
  EXPECT_EQ(outer.left, 10);
  EXPECT_EQ(outer.right - outer.left, 300);

  // A create handler that refuses gets the window destroyed and the creation returns null.
  DestroyWindow(hwnd);
  seen.clear();
  destroyOnCreate = true;
  EXPECT_EQ(Create(), nullptr);
  destroyOnCreate = false;
  EXPECT_EQ(Messages(), (std::vector<UINT>{WM_CREATE, WM_DESTROY}));
}

TEST_F(MessagesTest, PostsFromSeveralThreadsKeepEachThreadsOrder) {
  Create();
  seen.clear();
  constexpr int kThreads = 4, kEach = 500;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([this, t] {
      for (int i = 0; i < kEach; ++i) PostMessageA(hwnd, WM_USER + t, i, 0);
    });
  }
  for (auto& thread : threads) thread.join();
  Pump();
  std::vector<int> next(kThreads, 0);
  int received = 0;
  for (const Seen& s : seen) {
    if (s.msg < WM_USER || s.msg >= WM_USER + kThreads) continue;
    const int t = static_cast<int>(s.msg - WM_USER);
    EXPECT_EQ(static_cast<int>(s.wParam), next[t]) << "thread " << t;
    next[t] = static_cast<int>(s.wParam) + 1;
    ++received;
  }
  EXPECT_EQ(received, kThreads * kEach);
}

TEST_F(MessagesTest, PaintComesOnlyToShownWindowsWhenNoPostedMessageWaitsWithTheInvalidRectangle) {
  Create();
  InvalidateRect(hwnd, nullptr, FALSE);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE)) << "hidden windows get no paint";
  ShowWindow(hwnd, SW_SHOW);
  PostMessageA(hwnd, WM_USER, 1, 0);
  PostMessageA(hwnd, WM_USER, 2, 0);
  for (UINT expected : {WM_USER, WM_USER, WM_PAINT}) {
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, expected);
    DispatchMessageA(&msg);
  }
  // BeginPaint validated the window: no further paint is generated.
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));

  // BeginPaint reports the invalid rectangle and the class brush (white) erases when asked.
  HDC dc = GetDC(hwnd);
  RECT all{0, 0, 1000, 1000};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(hwnd, dc);
  RECT part{5, 6, 20, 30};
  InvalidateRect(hwnd, &part, TRUE);
  PAINTSTRUCT paint;
  HDC paintDc = BeginPaint(hwnd, &paint);
  ASSERT_NE(paintDc, nullptr);
  EXPECT_EQ(paint.rcPaint.left, 5);
  EXPECT_EQ(paint.rcPaint.bottom, 30);
  EXPECT_EQ(GetPixel(paintDc, 1, 1) & 0xFFFFFF, 0xFFFFFFu);
  EndPaint(hwnd, &paint);
  EXPECT_FALSE(PeekMessageA(&msg, hwnd, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

TEST_F(MessagesTest, KeyPressesBecomeCharactersAndQuitEndsTheLoopWithItsCode) {
  Create();
  seen.clear();
  morvex::user::PostKeyDown(hwnd, 'P', 'p');
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_TRUE(TranslateMessage(&msg));
  DispatchMessageA(&msg);
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_CHAR));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>('p'));
  // The key data is the 32-bit value a Windows program sees: a repeat count of one.
  EXPECT_EQ(msg.lParam, 1);
  // Keys that make no character give none.
  morvex::user::PostKeyDown(hwnd, VK_SHIFT, 0);
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_FALSE(TranslateMessage(&msg));
  // Quit ends the loop after the posted messages, with its code.
  PostMessageA(hwnd, WM_USER, 0, 0);
  PostQuitMessage(7);
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  // A window that is gone takes no posts and has no surface.
  HWND gone = hwnd;
  DestroyWindow(gone);
  EXPECT_FALSE(PostMessageA(gone, WM_USER, 0, 0));
  EXPECT_EQ(GetDC(gone), nullptr);
}

TEST_F(MessagesTest, CloseButtonClosesAndDestroysUnlessTheCloseItemIsGrey) {
  Create();
  EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_GRAYED);
  seen.clear();
  morvex::user::PressCloseButton(hwnd);
  Pump();
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_TRUE(seen.empty());
  EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_ENABLED);
  morvex::user::PressCloseButton(hwnd);
  Pump();
  EXPECT_EQ(Messages(), (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(MessagesTest, MaximizeAndMinimizeReportWindowsGeometry) {
  Create();
  ShowWindow(hwnd, SW_SHOWMAXIMIZED);
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, GetSystemMetrics(SM_CXFULLSCREEN));
  EXPECT_EQ(client.bottom, GetSystemMetrics(SM_CYFULLSCREEN));
  ShowWindow(hwnd, SW_MINIMIZE);
  RECT outer;
  GetWindowRect(hwnd, &outer);
  EXPECT_EQ(outer.left, -32000);
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 0);
  seen.clear();
  ShowWindow(hwnd, SW_RESTORE);
  GetWindowRect(hwnd, &outer);
  EXPECT_EQ(outer.left, 10);
  EXPECT_EQ(outer.bottom - outer.top, 200);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front().msg, static_cast<UINT>(WM_SIZE));
  EXPECT_EQ(seen.front().wParam, static_cast<WPARAM>(SIZE_RESTORED));
}

}  // namespace
