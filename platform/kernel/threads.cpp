#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>

#include "platform/kernel/thread_handle.h"
#include "platform/win32.h"

namespace morvex::kernel {
namespace {

// Pseudo handles, as Windows has them: the current process and the current thread.
HANDLE const kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));
HANDLE const kCurrentThread = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-2));
constexpr uintptr_t kThreadTag = 0x8;

struct StartRecord {
  void (*start)(void*);
  void* argument;
  std::mutex mutex;
  std::condition_variable started;
  pid_t tid = 0;
};

void* ThreadMain(void* raw) {
  auto* record = static_cast<StartRecord*>(raw);
  void (*start)(void*) = record->start;
  void* argument = record->argument;
  {
    // Notified under the lock: once it is released the starter may return and free the record.
    std::lock_guard lock(record->mutex);
    record->tid = static_cast<pid_t>(GetCurrentThreadId());
    record->started.notify_one();
  }
  start(argument);
  return nullptr;
}

}  // namespace

HANDLE HandleFromThreadId(pid_t tid) {
  return reinterpret_cast<HANDLE>((static_cast<uintptr_t>(tid) << 4) | kThreadTag);
}

pid_t ThreadIdFromHandle(HANDLE handle) {
  if (handle == kCurrentThread) return static_cast<pid_t>(GetCurrentThreadId());
  const auto value = reinterpret_cast<uintptr_t>(handle);
  if (handle == kCurrentProcess || (value & 0xF) != kThreadTag) return 0;
  return static_cast<pid_t>(value >> 4);
}

bool IsProcessHandle(HANDLE handle) { return handle == kCurrentProcess; }

}  // namespace morvex::kernel

DWORD GetCurrentThreadId(void) { return static_cast<DWORD>(syscall(SYS_gettid)); }
HANDLE GetCurrentThread(void) { return morvex::kernel::kCurrentThread; }
HANDLE GetCurrentProcess(void) { return morvex::kernel::kCurrentProcess; }
DWORD GetCurrentProcessId(void) { return static_cast<DWORD>(getpid()); }

HANDLE OpenThread(DWORD, BOOL, DWORD threadId) {
  if (threadId == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return morvex::kernel::HandleFromThreadId(static_cast<pid_t>(threadId));
}

BOOL CloseHandle(HANDLE object) { return object != nullptr; }

uintptr_t _beginthread(void (*startAddress)(void*), unsigned stackSize, void* arglist) {
  using morvex::kernel::StartRecord;
  if (!startAddress) return static_cast<uintptr_t>(-1);
  StartRecord record{startAddress, arglist, {}, {}, 0};
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  if (stackSize != 0) pthread_attr_setstacksize(&attributes, stackSize < PTHREAD_STACK_MIN ? PTHREAD_STACK_MIN : stackSize);
  pthread_t thread;
  const int failed = pthread_create(&thread, &attributes, morvex::kernel::ThreadMain, &record);
  pthread_attr_destroy(&attributes);
  if (failed) return static_cast<uintptr_t>(-1);
  std::unique_lock lock(record.mutex);
  record.started.wait(lock, [&] { return record.tid != 0; });
  return reinterpret_cast<uintptr_t>(morvex::kernel::HandleFromThreadId(record.tid));
}
