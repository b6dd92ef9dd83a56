// timeGetTime: milliseconds of the monotonic clock, wrapping at 32 bits as on Windows.
#include <chrono>

#include "platform/win32/mmsystem.h"

DWORD timeGetTime(void) {
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}
