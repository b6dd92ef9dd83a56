#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sched.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/display/memory_display.h"
#include "platform/kernel/process_start.h"
#include "platform/kernel/signals.h"
#include "platform/win32.h"

namespace {

// As a normal user (no CAP_SYS_NICE, RLIMIT_NICE 0): nothing goes below normal without a way back.
TEST(PriorityTest, WithoutTheRightToComeBackNothingGoesBelowNormalAndRefusalsAreReported) {
  rlimit saved{}, normalUser{0, 0};
  ASSERT_EQ(getrlimit(RLIMIT_NICE, &saved), 0);
  normalUser.rlim_max = saved.rlim_max;
  ASSERT_EQ(setrlimit(RLIMIT_NICE, &normalUser), 0);
  const int nice = getpriority(PRIO_PROCESS, 0);
  std::thread([nice] {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[_LINUX_CAPABILITY_U32S_3]{};
    ASSERT_EQ(syscall(SYS_capget, &header, caps), 0);
    caps[CAP_TO_INDEX(CAP_SYS_NICE)].effective &= ~CAP_TO_MASK(CAP_SYS_NICE);
    ASSERT_EQ(syscall(SYS_capset, &header, caps), 0);
    for (DWORD cls : {IDLE_PRIORITY_CLASS, BELOW_NORMAL_PRIORITY_CLASS, HIGH_PRIORITY_CLASS}) {
      EXPECT_TRUE(!SetPriorityClass(GetCurrentProcess(), cls) && GetLastError() == ERROR_ACCESS_DENIED) << cls;
    }
    for (int priority : {THREAD_PRIORITY_IDLE, THREAD_PRIORITY_LOWEST, THREAD_PRIORITY_HIGHEST}) {
      EXPECT_TRUE(!SetThreadPriority(GetCurrentThread(), priority) && GetLastError() == ERROR_ACCESS_DENIED)
          << priority;
    }
    EXPECT_TRUE(sched_getscheduler(0) == SCHED_OTHER && getpriority(PRIO_PROCESS, 0) == nice);
    EXPECT_TRUE(SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS));
  }).join();
  EXPECT_EQ(sched_getscheduler(0), SCHED_OTHER) << "no thread of the process went idle";
  ASSERT_EQ(setrlimit(RLIMIT_NICE, &saved), 0);
}

// A start blocked inside the main window's creation, then SIGTERM: the process ends.
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

TEST(CommandLineTest, AFirstDoubleDashOnlyEndsTheOptions) {
  const struct {
    std::vector<std::string> argv;
    const char* arguments;
  } cases[] = {
      {{"morvex", "--", "-a.wav"}, "-a.wav"},
      {{"morvex", "--", "--"}, "--"},
      {{"morvex", "--"}, ""},
      {{"morvex", "-a.wav", "--"}, "-a.wav --"},
      {{"morvex", "a b.wav"}, "a b.wav"},
  };
  for (const auto& c : cases) {
    std::vector<char*> argv;
    for (const std::string& a : c.argv) argv.push_back(const_cast<char*>(a.c_str()));
    morvex::kernel::SetCommandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_STREQ(morvex::kernel::ArgumentString(), c.arguments);
    EXPECT_EQ(std::string(GetCommandLineA()), c.arguments[0] ? std::string("morvex ") + c.arguments : "morvex");
  }
}

}  // namespace
