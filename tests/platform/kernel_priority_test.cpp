#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <thread>

#include "platform/win32.h"

namespace {

// Capabilities belong to a thread and RLIMIT_NICE is 0 for normal users: the thread below meets
// the scheduler as a normal user does, whoever runs the test. Below normal there would be no
// way back, above it the system refuses.
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

}  // namespace
