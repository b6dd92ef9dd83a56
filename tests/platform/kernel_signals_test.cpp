#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/display/memory_display.h"
#include "platform/kernel/signals.h"
#include "platform/win32.h"

namespace {

int readyPipe[2];
int neverWritten[2];
bool blockInCreation = false;

void BlockForGood() {
  char byte = 0;
  [[maybe_unused]] const ssize_t sent = write(readyPipe[1], "r", 1);
  [[maybe_unused]] const ssize_t got = read(neverWritten[0], &byte, 1);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE && blockInCreation) BlockForGood();
  if (msg == WM_DESTROY) PostQuitMessage(7);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The child process: takes the close signals as the program does, creates its main window and
// runs the message loop; its exit code is the quit code of its main window's destruction.
[[noreturn]] void RunChild() {
  morvex::display::InstallBackend(new morvex::display::MemoryDisplay);
  morvex::kernel::CloseMainWindowOnSignals();
  WNDCLASSA cls{};
  cls.lpfnWndProc = MainProc;
  cls.lpszClassName = "signalled";
  RegisterClassA(&cls);
  CreateWindowExA(0, "signalled", "main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  [[maybe_unused]] const ssize_t sent = write(readyPipe[1], "r", 1);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
  _exit(static_cast<int>(msg.wParam));
}

TEST(CloseSignalTest, EndsABlockedStartAtOnceAndClosesACreatedMainWindow) {
  const struct { bool blockInCreation; int exitCode; } cases[] = {{true, 128 + SIGTERM}, {false, 7}};
  for (const auto& c : cases) {
    ASSERT_EQ(pipe(readyPipe), 0);
    ASSERT_EQ(pipe(neverWritten), 0);
    blockInCreation = c.blockInCreation;
    const pid_t child = fork();
    if (child == 0) RunChild();
    char byte = 0;
    ASSERT_EQ(read(readyPipe[0], &byte, 1), 1);
    kill(child, SIGTERM);
    // A lost signal leaves the child blocked for good: it is killed after a generous while.
    int status = 0;
    for (int looks = 0; waitpid(child, &status, WNOHANG) == 0; ++looks) {
      if (looks == 2000) kill(child, SIGKILL);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(WIFEXITED(status)) << "blocked in creation: " << c.blockInCreation;
    EXPECT_EQ(WEXITSTATUS(status), c.exitCode) << "blocked in creation: " << c.blockInCreation;
    for (int fd : {readyPipe[0], readyPipe[1], neverWritten[0], neverWritten[1]}) close(fd);
  }
}

}  // namespace
