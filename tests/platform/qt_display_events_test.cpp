#include <time.h>

#include <thread>

#include "qt_display_fixture.h"

namespace morvex::display::qt::testing {
namespace {

using namespace std::chrono_literals;

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

using QtEventLoopTest = QtDisplayTest;

TEST_F(QtEventLoopTest, WakeFromAnotherThreadEndsTheWaitPromptly) {
  display->processEvents(Clock::now());
  const auto start = Clock::now();
  std::thread poster([] {
    std::this_thread::sleep_for(50ms);
    PostMessageA(nullptr, WM_USER, 1, 2);
  });
  display->processEvents(start + 10s);
  const auto waited = Clock::now() - start;
  poster.join();
  EXPECT_GE(waited, 40ms);
  EXPECT_LT(waited, 1s);
}

// The wake is taken by the wait that follows it; the next one waits to its deadline, idle.
TEST_F(QtEventLoopTest, WakeBeforeTheWaitIsNotLostAndAnIdleWaitEndsAtItsDeadlineWithoutSpinning) {
  display->processEvents(Clock::now());  // Qt is started and idle
  std::thread([this] { display->wake(); }).join();
  const auto start = Clock::now();
  display->processEvents(start + 10s);
  EXPECT_LT(Clock::now() - start, 1s);
  const double cpuBefore = ThreadCpuSeconds();
  const auto next = Clock::now();
  display->processEvents(next + 300ms);
  const auto waited = Clock::now() - next;
  EXPECT_GE(waited, 300ms);
  EXPECT_LT(waited, 600ms);
  EXPECT_LT(ThreadCpuSeconds() - cpuBefore, 0.03);
}

TEST_F(QtEventLoopTest, GetMessageSleepsUntilAnotherThreadPosts) {
  HWND hwnd = Create("loop", 0, 0, 200, 100);
  Pump();
  const double cpuBefore = ThreadCpuSeconds();
  std::thread poster([hwnd] {
    std::this_thread::sleep_for(200ms);
    PostMessageA(hwnd, WM_USER + 5, 7, 8);
  });
  MSG msg;
  do {
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  } while (msg.message != WM_USER + 5);
  poster.join();
  EXPECT_EQ(msg.hwnd, hwnd);
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_LT(ThreadCpuSeconds() - cpuBefore, 0.05);
}

}  // namespace
}  // namespace morvex::display::qt::testing
