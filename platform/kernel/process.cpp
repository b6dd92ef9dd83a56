#include <signal.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/win32.h"

namespace {
thread_local DWORD lastError = ERROR_SUCCESS;
}

DWORD GetLastError(void) { return lastError; }
void SetLastError(DWORD errorCode) { lastError = errorCode; }

DWORD GetVersion(void) {
  // Major version in the low byte, minor in the next, as Windows packs its own.
  utsname name{};
  unsigned major = 0, minor = 0;
  if (uname(&name) == 0) std::sscanf(name.release, "%u.%u", &major, &minor);
  return (major & 0xFF) | ((minor & 0xFF) << 8);
}

BOOL IsDebuggerPresent(void) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("TracerPid:", 0) == 0) return std::atoi(line.c_str() + 10) != 0;
  }
  return FALSE;
}

void DebugBreak(void) { raise(SIGTRAP); }

void ExitProcess(UINT exitCode) {
  std::fflush(nullptr);
  _exit(static_cast<int>(exitCode));
}
