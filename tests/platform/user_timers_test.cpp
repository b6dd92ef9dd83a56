#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/win32.h"

namespace {

std::vector<UINT_PTR> ticks;

LRESULT CALLBACK TimerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER) ticks.push_back(wParam);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class TimersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool registered = false;
    if (!registered) {
      WNDCLASSA cls{};
      cls.lpfnWndProc = TimerProc;
      cls.lpszClassName = "timed";
      ASSERT_NE(RegisterClassA(&cls), 0);
      registered = true;
    }
    ticks.clear();
    hwnd = CreateWindowExA(0, "timed", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override { DestroyWindow(hwnd); }
  // Runs the message loop for the given time.
  void RunFor(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    PostMessageA(hwnd, WM_NULL, 0, 0);
    SetTimer(hwnd, 999, ms, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
      if (msg.message == WM_TIMER && msg.wParam == 999) {
        KillTimer(hwnd, 999);
        if (std::chrono::steady_clock::now() >= end) break;
        continue;
      }
      DispatchMessageA(&msg);
    }
  }
  HWND hwnd = nullptr;
};

TEST_F(TimersTest, TimerFiresWithItsIdOnlyWhenNothingElseWaits) {
  SetTimer(hwnd, 1, 10, nullptr);
  Sleep(20);
  PostMessageA(hwnd, WM_USER, 0, 0);
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(msg.wParam, 1u);
  KillTimer(hwnd, 1);
}

TEST_F(TimersTest, ARestartedTimerTakesItsNewPeriodAndAKilledOneNeverFires) {
  SetTimer(hwnd, 2, 10, nullptr);
  SetTimer(hwnd, 2, 400, nullptr);
  SetTimer(hwnd, 4, 10, nullptr);
  Sleep(30);  // both 10 ms periods due already
  EXPECT_TRUE(KillTimer(hwnd, 4));
  RunFor(200);
  EXPECT_TRUE(ticks.empty());
  EXPECT_FALSE(KillTimer(hwnd, 4));
  KillTimer(hwnd, 2);
}

// A timer that stopped after its first tick hangs this test.
TEST_F(TimersTest, PeriodicTimerKeepsTicking) {
  SetTimer(hwnd, 5, 20, nullptr);
  MSG msg;
  while (ticks.size() < 3 && GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
  KillTimer(hwnd, 5);
  EXPECT_EQ(ticks, (std::vector<UINT_PTR>{5, 5, 5}));
}

TEST_F(TimersTest, DestroyedWindowsTimersAreGone) {
  SetTimer(hwnd, 6, 10, nullptr);
  DestroyWindow(hwnd);
  Sleep(20);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
  hwnd = CreateWindowExA(0, "timed", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace
