// Priority classes and thread priorities in terms of Linux scheduling: the idle class is the
// SCHED_IDLE policy, the other classes and the thread priorities are nice values counted from
// the one the process started with (normal). Leaving SCHED_IDLE or lowering a nice value again
// needs CAP_SYS_NICE or a high enough RLIMIT_NICE, so without them no thread enters either: a
// normal user would stay there for good. A change refused for that reason or by the system
// returns FALSE with ERROR_ACCESS_DENIED, as Windows reports a refused change.
#include <dirent.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <mutex>

#include "platform/kernel/thread_handle.h"
#include "platform/win32.h"

namespace {

std::mutex priorityMutex;
DWORD priorityClass = NORMAL_PRIORITY_CLASS;
std::map<pid_t, int> threadPriorities;  // threads whose priority is not THREAD_PRIORITY_NORMAL

int ClassNice(DWORD cls) {
  switch (cls) {
    case HIGH_PRIORITY_CLASS: return -10;
    case REALTIME_PRIORITY_CLASS: return -20;
    case ABOVE_NORMAL_PRIORITY_CLASS: return -5;
    case BELOW_NORMAL_PRIORITY_CLASS: return 5;
    default: return 0;
  }
}

int ThreadNiceOffset(int priority) {
  switch (priority) {
    case THREAD_PRIORITY_TIME_CRITICAL: return -15;
    case THREAD_PRIORITY_HIGHEST: return -4;
    case THREAD_PRIORITY_ABOVE_NORMAL: return -2;
    case THREAD_PRIORITY_BELOW_NORMAL: return 2;
    case THREAD_PRIORITY_LOWEST: return 4;
    case THREAD_PRIORITY_IDLE: return 19;
    default: return 0;
  }
}

// The nice value the process started with, read before any change made here.
int BaseNice() {
  static const int base = [] {
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, 0);
    return errno ? 0 : nice;
  }();
  return base;
}

int NiceOf(DWORD cls, int threadPriority) {
  return std::clamp(BaseNice() + ClassNice(cls) + ThreadNiceOffset(threadPriority), -20, 19);
}

// Whether a thread under this class and priority could be brought back to normal only with
// the right to lower a nice value.
bool BelowNormal(DWORD cls, int threadPriority) {
  return cls == IDLE_PRIORITY_CLASS || NiceOf(cls, threadPriority) > BaseNice();
}

bool HasNiceCapability() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
  if (syscall(SYS_capget, &header, data) != 0) return false;
  return (data[CAP_TO_INDEX(CAP_SYS_NICE)].effective & CAP_TO_MASK(CAP_SYS_NICE)) != 0;
}

// Whether the calling thread may set the starting nice value again from above it (and so leave
// SCHED_IDLE, which the kernel counts as nice 20).
bool MayReturnToNormal() {
  if (HasNiceCapability()) return true;
  rlimit limit{};
  if (getrlimit(RLIMIT_NICE, &limit) != 0) return false;
  return limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= static_cast<rlim_t>(20 - BaseNice());
}

bool ValidClass(DWORD cls) {
  return cls == NORMAL_PRIORITY_CLASS || cls == IDLE_PRIORITY_CLASS || cls == HIGH_PRIORITY_CLASS ||
         cls == REALTIME_PRIORITY_CLASS || cls == BELOW_NORMAL_PRIORITY_CLASS ||
         cls == ABOVE_NORMAL_PRIORITY_CLASS;
}

bool ValidThreadPriority(int priority) {
  return (priority >= THREAD_PRIORITY_LOWEST && priority <= THREAD_PRIORITY_HIGHEST) ||
         priority == THREAD_PRIORITY_IDLE || priority == THREAD_PRIORITY_TIME_CRITICAL;
}

// Puts one thread under the given class and thread priority; errno on failure.
bool ApplyToThread(pid_t tid, DWORD cls, int threadPriority) {
  sched_param param{};
  if (cls == IDLE_PRIORITY_CLASS) return sched_setscheduler(tid, SCHED_IDLE, &param) == 0;
  if (sched_getscheduler(tid) != SCHED_OTHER && sched_setscheduler(tid, SCHED_OTHER, &param) != 0) {
    return false;
  }
  return setpriority(PRIO_PROCESS, static_cast<id_t>(tid), NiceOf(cls, threadPriority)) == 0;
}

int ThreadPriorityOf(pid_t tid) {
  auto it = threadPriorities.find(tid);
  return it == threadPriorities.end() ? THREAD_PRIORITY_NORMAL : it->second;
}

// Calls fn for every thread of the process; false when /proc is unreadable or fn failed once.
template <typename Fn>
bool ForEachThread(Fn fn) {
  DIR* tasks = opendir("/proc/self/task");
  if (!tasks) return false;
  bool ok = true;
  while (dirent* entry = readdir(tasks)) {
    const pid_t tid = static_cast<pid_t>(std::atoi(entry->d_name));
    if (tid > 0 && !fn(tid)) ok = false;
  }
  closedir(tasks);
  return ok;
}

}  // namespace

BOOL SetPriorityClass(HANDLE process, DWORD cls) {
  if (!morvex::kernel::IsProcessHandle(process) || !ValidClass(cls)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(priorityMutex);
  const bool lowers = BelowNormal(cls, THREAD_PRIORITY_NORMAL) ||
                      std::any_of(threadPriorities.begin(), threadPriorities.end(),
                                  [cls](const auto& thread) { return BelowNormal(cls, thread.second); });
  if (lowers && !MayReturnToNormal()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  // A thread that ended meanwhile is not a refusal.
  const bool ok = ForEachThread([&](pid_t tid) {
    return ApplyToThread(tid, cls, ThreadPriorityOf(tid)) || errno == ESRCH;
  });
  if (!ok) {
    // Leave every thread as it was under the class still in force.
    ForEachThread([&](pid_t tid) { return ApplyToThread(tid, priorityClass, ThreadPriorityOf(tid)); });
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  priorityClass = cls;
  return TRUE;
}

DWORD GetPriorityClass(HANDLE process) {
  if (!morvex::kernel::IsProcessHandle(process)) return 0;
  std::lock_guard lock(priorityMutex);
  return priorityClass;
}

BOOL SetThreadPriority(HANDLE thread, int priority) {
  const pid_t tid = morvex::kernel::ThreadIdFromHandle(thread);
  if (tid == 0 || !ValidThreadPriority(priority)) {
    SetLastError(tid == 0 ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(priorityMutex);
  if (BelowNormal(priorityClass, priority) && !MayReturnToNormal()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (!ApplyToThread(tid, priorityClass, priority)) {
    SetLastError(errno == ESRCH ? ERROR_INVALID_HANDLE : ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (priority == THREAD_PRIORITY_NORMAL) {
    threadPriorities.erase(tid);
  } else {
    threadPriorities[tid] = priority;
  }
  return TRUE;
}

int GetThreadPriority(HANDLE thread) {
  const pid_t tid = morvex::kernel::ThreadIdFromHandle(thread);
  if (tid == 0) return THREAD_PRIORITY_ERROR_RETURN;
  std::lock_guard lock(priorityMutex);
  return ThreadPriorityOf(tid);
}
