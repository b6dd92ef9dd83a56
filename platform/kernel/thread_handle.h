// Thread handles carry the kernel thread id, so a priority can be changed from another thread
// and a handle of a thread that has ended fails cleanly instead of touching freed memory.
#pragma once

#include <sys/types.h>

#include "platform/win32/types.h"

namespace morvex::kernel {

HANDLE HandleFromThreadId(pid_t tid);
// The thread id a handle names: the calling thread for the pseudo handle, 0 for no thread.
pid_t ThreadIdFromHandle(HANDLE handle);
bool IsProcessHandle(HANDLE handle);

}  // namespace morvex::kernel
