#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include "platform/display/memory_display.h"
#include "platform/kernel/signals.h"
#include "platform/win32.h"

namespace {

// A start that never goes on inside the main window's creation (as opening a FIFO nobody
// writes did) and a SIGTERM meanwhile. Once created, the main window takes the signal as its
// close; the program tests see the settings written then.
void BlockInCreationAndTerminate() {
  alarm(30);  // ends a child whose signal was lost, with an exit the test tells apart
  morvex::display::InstallBackend(new morvex::display::MemoryDisplay);
  morvex::kernel::CloseMainWindowOnSignals();
  WNDCLASSA cls{};
  cls.lpszClassName = "blocking";
  cls.lpfnWndProc = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
    kill(getpid(), SIGTERM);
    for (;;) pause();
  };
  RegisterClassA(&cls);
  CreateWindowExA(0, "blocking", "main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
}

TEST(CloseSignalDeathTest, EndsAStartThatBlocksBeforeTheMainWindowIsCreated) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(BlockInCreationAndTerminate(), ::testing::ExitedWithCode(128 + SIGTERM), "");
}

}  // namespace
