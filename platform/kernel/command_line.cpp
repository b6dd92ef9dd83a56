#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/kernel/process_start.h"
#include "platform/win32.h"

namespace morvex::kernel {
namespace {

std::string& CommandLineText() {
  static std::string text;
  return text;
}

std::string& ArgumentText() {
  static std::string text;
  return text;
}

}  // namespace

void SetCommandLine(int argc, char** argv) {
  // A first argument "--" only ends the options, as in every Linux program: "morvex -- -a.wav"
  // opens "-a.wav".
  const int first = argc > 1 && std::strcmp(argv[1], "--") == 0 ? 2 : 1;
  std::string arguments;
  for (int i = first; i < argc; ++i) {
    if (i > first) arguments += ' ';
    arguments += argv[i];
  }
  ArgumentText() = arguments;
  CommandLineText() = (argc > 0 && argv[0] ? std::string(argv[0]) : std::string("morvex"));
  if (!arguments.empty()) CommandLineText() += ' ' + arguments;
}

char* ArgumentString() { return ArgumentText().data(); }

}  // namespace morvex::kernel

LPSTR GetCommandLineA(void) { return morvex::kernel::CommandLineText().data(); }

DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer) {
  std::string cwd(4096, '\0');
  if (!getcwd(cwd.data(), cwd.size())) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  const DWORD length = static_cast<DWORD>(std::strlen(cwd.c_str()));
  // As on Windows: too small a buffer gets nothing and the size needed, terminator included.
  if (!buffer || bufferLength <= length) return length + 1;
  std::memcpy(buffer, cwd.c_str(), length + 1);
  return length;
}

DWORD GetModuleFileNameA(HMODULE, LPSTR fileName, DWORD size) {
  if (!fileName || size == 0) return 0;
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) {
    fileName[0] = '\0';
    return 0;
  }
  // As on Windows: a path that does not fit is cut and still terminated.
  const DWORD copied = static_cast<DWORD>(length) < size ? static_cast<DWORD>(length) : size - 1;
  std::memcpy(fileName, path, copied);
  fileName[copied] = '\0';
  return copied;
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  // The program is one module; its handle only has to be non-null and stable.
  static char moduleTag;
  return moduleName ? nullptr : reinterpret_cast<HMODULE>(&moduleTag);
}
