#include "platform/user/window_state.h"

#include <cctype>

namespace morvex::user {

UserState& State() {
  static UserState state;
  return state;
}

Window* FindWindowLocked(HWND hwnd) {
  auto& windows = State().windows;
  auto it = windows.find(hwnd);
  return it == windows.end() ? nullptr : it->second.get();
}

std::string LowerCase(const char* text) {
  std::string lower = text ? text : "";
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

void UpdateClientSize(Window& window) {
  int width = window.rect.right - window.rect.left;
  int height = window.rect.bottom - window.rect.top;
  if (!window.parent && window.showState != ShowState::Minimized) {
    width -= kFrameLeft + kFrameRight;
    height -= kFrameTop + kFrameBottom;
  }
  if (window.showState == ShowState::Minimized) width = height = 0;
  window.clientWidth = width < 0 ? 0 : width;
  window.clientHeight = height < 0 ? 0 : height;
}

DWORD MessageTime() {
  return static_cast<DWORD>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count());
}

}  // namespace morvex::user
