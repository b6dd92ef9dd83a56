// Waiting on an address with the Linux futex: the thread sleeps in the kernel until the value
// changes and someone wakes the address, or the time limit passes.
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>

#include "platform/win32.h"

BOOL WaitOnAddress(volatile void* address, void* compareAddress, SIZE_T addressSize, DWORD milliseconds) {
  if (addressSize != 4 || !address || !compareAddress) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  int expected = 0;
  std::memcpy(&expected, compareAddress, sizeof expected);
  timespec limit{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
  const long result = syscall(SYS_futex, const_cast<void*>(address), FUTEX_WAIT_PRIVATE, expected,
                              milliseconds == INFINITE ? nullptr : &limit, nullptr, 0);
  if (result != 0 && errno == ETIMEDOUT) {
    SetLastError(ERROR_TIMEOUT);
    return FALSE;
  }
  // Woken, or the value had already changed (EAGAIN), or a signal came in: the caller looks again.
  return TRUE;
}

void WakeByAddressAll(void* address) {
  if (address) syscall(SYS_futex, address, FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr, 0);
}
