#include "platform/user/builtin_classes.h"

#include <mutex>

#include "platform/user/window_state.h"
#include "platform/win32.h"

namespace morvex::user {
namespace {

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SETTEXT) return SetWindowTextA(hwnd, reinterpret_cast<LPCSTR>(lParam));
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

void EnsureBuiltinClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    std::lock_guard lock(State().mutex);
    State().classes["edit"] = WindowClass{"edit", 0, EditProc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), nullptr};
  });
}

}  // namespace morvex::user
