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

// A wake or post from another thread, before the wait or during it, ends a wait whose deadline
// lies an hour ahead (a lost wake hangs the test); idle waits sleep rather than spin.
TEST_F(QtEventLoopTest, WakesAreNeverLostAndWaitsDoNotSpin) {
  HWND hwnd = Create("loop", 0, 0, 200, 100);
  Pump();
  std::thread([this] { display->wake(); }).join();
  display->processEvents(Clock::now() + 1h);
  const double cpuBefore = ThreadCpuSeconds();
  const auto deadline = Clock::now() + 300ms;
  display->processEvents(deadline);
  EXPECT_GE(Clock::now(), deadline);
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
  EXPECT_LT(ThreadCpuSeconds() - cpuBefore, 0.08);
}

}  // namespace
}  // namespace morvex::display::qt::testing
