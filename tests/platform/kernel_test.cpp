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

// As a normal user (no CAP_SYS_NICE, RLIMIT_NICE 0), whatever nice value the test was started
// with: no request takes a thread off that value, and a request that would have to is refused.
// Lowering requests change nothing only when the start is already the lowest priority.
TEST(PriorityTest, WithoutTheRightToComeBackNoThreadLeavesTheStartingNiceValueAndRefusalsAreReported) {
  rlimit saved{}, normalUser{0, 0};
  ASSERT_EQ(getrlimit(RLIMIT_NICE, &saved), 0);
  normalUser.rlim_max = saved.rlim_max;
  ASSERT_EQ(setrlimit(RLIMIT_NICE, &normalUser), 0);
  const int start = getpriority(PRIO_PROCESS, 0);
  std::thread([start] {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[_LINUX_CAPABILITY_U32S_3]{};
    ASSERT_EQ(syscall(SYS_capget, &header, caps), 0);
    caps[CAP_TO_INDEX(CAP_SYS_NICE)].effective &= ~CAP_TO_MASK(CAP_SYS_NICE);
    ASSERT_EQ(syscall(SYS_capset, &header, caps), 0);
    const bool lowestAlready = start == 19, highestAlready = start == -20;
    const struct {
      DWORD cls;
      int priority;
      bool refused;
    } requests[] = {
        {IDLE_PRIORITY_CLASS, THREAD_PRIORITY_NORMAL, true},  // leaving the idle policy needs the right
        {BELOW_NORMAL_PRIORITY_CLASS, THREAD_PRIORITY_NORMAL, !lowestAlready},
        {HIGH_PRIORITY_CLASS, THREAD_PRIORITY_NORMAL, !highestAlready},
        {NORMAL_PRIORITY_CLASS, THREAD_PRIORITY_IDLE, !lowestAlready},
        {NORMAL_PRIORITY_CLASS, THREAD_PRIORITY_LOWEST, !lowestAlready},
        {NORMAL_PRIORITY_CLASS, THREAD_PRIORITY_HIGHEST, !highestAlready},
    };
    for (const auto& r : requests) {
      SetLastError(0);
      const bool accepted = r.cls != NORMAL_PRIORITY_CLASS ? SetPriorityClass(GetCurrentProcess(), r.cls)
                                                           : SetThreadPriority(GetCurrentThread(), r.priority);
      EXPECT_EQ(accepted, !r.refused) << r.cls << " " << r.priority << " from nice " << start;
      if (!accepted) EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
      EXPECT_TRUE(sched_getscheduler(0) == SCHED_OTHER && getpriority(PRIO_PROCESS, 0) == start) << r.cls;
      EXPECT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL));
      EXPECT_TRUE(SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS));
    }
  }).join();
  EXPECT_TRUE(sched_getscheduler(0) == SCHED_OTHER && getpriority(PRIO_PROCESS, 0) == start)
      << "no other thread of the process moved";
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
