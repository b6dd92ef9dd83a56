#include <dirent.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <future>
#include <map>
#include <thread>

#include "platform/kernel/thread_handle.h"
#include "platform/win32.h"

namespace {

struct Scheduling {
  int policy;
  int nice;
  bool operator==(const Scheduling&) const = default;
};

std::map<pid_t, Scheduling> EveryThread() {
  std::map<pid_t, Scheduling> threads;
  DIR* tasks = opendir("/proc/self/task");
  while (dirent* entry = tasks ? readdir(tasks) : nullptr) {
    const pid_t tid = std::atoi(entry->d_name);
    if (tid > 0) threads[tid] = {sched_getscheduler(tid), getpriority(PRIO_PROCESS, static_cast<id_t>(tid))};
  }
  if (tasks) closedir(tasks);
  return threads;
}

// Capabilities belong to a thread: the calling thread goes on as a normal user would as far as
// scheduling is concerned.
void DropNiceCapability() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
  ASSERT_EQ(syscall(SYS_capget, &header, data), 0);
  data[CAP_TO_INDEX(CAP_SYS_NICE)].effective &= ~CAP_TO_MASK(CAP_SYS_NICE);
  ASSERT_EQ(syscall(SYS_capset, &header, data), 0);
}

TEST(PriorityTest, WithoutTheRightToComeBackNothingGoesBelowNormalAndEveryRefusalIsReported) {
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_NICE, &saved), 0);
  rlimit none = saved;
  none.rlim_cur = 0;  // the default for normal users
  ASSERT_EQ(setrlimit(RLIMIT_NICE, &none), 0);
  const auto before = EveryThread();
  std::thread([] {
    DropNiceCapability();
    HANDLE process = GetCurrentProcess();
    HANDLE self = GetCurrentThread();
    // Below normal there would be no way back; above it the system refuses.
    for (DWORD cls : {IDLE_PRIORITY_CLASS, BELOW_NORMAL_PRIORITY_CLASS, HIGH_PRIORITY_CLASS}) {
      SetLastError(0);
      EXPECT_FALSE(SetPriorityClass(process, cls)) << cls;
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << cls;
    }
    for (int priority : {THREAD_PRIORITY_IDLE, THREAD_PRIORITY_LOWEST, THREAD_PRIORITY_HIGHEST}) {
      SetLastError(0);
      EXPECT_FALSE(SetThreadPriority(self, priority)) << priority;
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << priority;
    }
    EXPECT_TRUE(SetPriorityClass(process, NORMAL_PRIORITY_CLASS));
    EXPECT_TRUE(SetThreadPriority(self, THREAD_PRIORITY_NORMAL));
    EXPECT_EQ(GetPriorityClass(process), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(GetThreadPriority(self), THREAD_PRIORITY_NORMAL);
  }).join();
  ASSERT_EQ(setrlimit(RLIMIT_NICE, &saved), 0);
  for (const auto& [tid, scheduling] : EveryThread()) {
    if (before.count(tid)) EXPECT_EQ(scheduling, before.at(tid)) << "thread " << tid;
  }
}

TEST(PriorityTest, WithTheRightEveryThreadEntersTheIdleClassAndLeavesItWithItsOwnPriority) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
  ASSERT_EQ(syscall(SYS_capget, &header, data), 0);
  if (!(data[CAP_TO_INDEX(CAP_SYS_NICE)].effective & CAP_TO_MASK(CAP_SYS_NICE))) {
    GTEST_SKIP() << "needs CAP_SYS_NICE";
  }
  const int base = getpriority(PRIO_PROCESS, 0);
  std::promise<void> finish;
  std::promise<pid_t> started;
  std::thread other([&] {
    started.set_value(static_cast<pid_t>(gettid()));
    finish.get_future().wait();
  });
  const pid_t otherTid = started.get_future().get();
  HANDLE process = GetCurrentProcess();
  EXPECT_TRUE(SetPriorityClass(process, IDLE_PRIORITY_CLASS));
  for (const auto& [tid, scheduling] : EveryThread()) EXPECT_EQ(scheduling.policy, SCHED_IDLE) << tid;
  EXPECT_TRUE(SetThreadPriority(morvex::kernel::HandleFromThreadId(otherTid), THREAD_PRIORITY_LOWEST));
  EXPECT_TRUE(SetPriorityClass(process, NORMAL_PRIORITY_CLASS));
  for (const auto& [tid, scheduling] : EveryThread()) {
    EXPECT_EQ(scheduling, (Scheduling{SCHED_OTHER, tid == otherTid ? base + 4 : base})) << tid;
  }
  EXPECT_TRUE(SetThreadPriority(morvex::kernel::HandleFromThreadId(otherTid), THREAD_PRIORITY_NORMAL));
  finish.set_value();
  other.join();
}

}  // namespace
