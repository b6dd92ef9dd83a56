#include "platform/user/window_info.h"

#include "platform/user/keyboard.h"
#include "platform/user/menus.h"
#include "platform/user/window_geometry.h"
#include "platform/user/window_state.h"
#include "platform/win32.h"

namespace morvex::user {

std::optional<WindowInfo> DescribeWindow(HWND hwnd) {
  std::lock_guard lock(State().mutex);
  Window* window = FindWindowLocked(hwnd);
  if (!window) return std::nullopt;
  WindowInfo info;
  info.className = window->className;
  info.text = window->text;
  info.parent = window->parent;
  info.rect = window->rect;
  info.clientWidth = window->clientWidth;
  info.clientHeight = window->clientHeight;
  info.visible = window->visible;
  info.minimized = window->showState == ShowState::Minimized;
  info.maximized = window->showState == ShowState::Maximized;
  const auto icon = reinterpret_cast<uintptr_t>(window->icon);
  info.iconResource = icon < 0x10000 ? static_cast<int>(icon) : 0;
  info.surface = window->surface;
  return info;
}

void PostKeyDown(HWND hwnd, UINT virtualKey, uint32_t character) {
  PostMessageA(hwnd, WM_KEYDOWN, virtualKey, KeyDownData(character));
}

void PostMouse(HWND hwnd, UINT message, int clientX, int clientY, WPARAM keys) {
  PostMessageA(hwnd, message, keys, MAKELPARAM(static_cast<SHORT>(clientX), static_cast<SHORT>(clientY)));
}

void PressCloseButton(HWND hwnd) {
  if (!CloseDisabled(hwnd)) PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void ClientAreaPlaced(HWND hwnd, int screenX, int screenY, int width, int height) {
  ShowState state;
  RECT rect;
  {
    std::lock_guard lock(State().mutex);
    Window* window = FindWindowLocked(hwnd);
    if (!window) return;
    state = window->showState;
    const bool framed = !window->parent;
    rect = framed ? RECT{screenX - kFrameLeft, screenY - kFrameTop, screenX + width + kFrameRight,
                         screenY + height + kFrameBottom}
                  : RECT{screenX, screenY, screenX + width, screenY + height};
  }
  SetWindowPlacement(hwnd, rect, state, false, false);
}

void FocusLost(HWND hwnd) { PostMessageA(hwnd, WM_KILLFOCUS, 0, 0); }

void ApplicationActivated(bool active) {
  std::vector<HWND> topLevel;
  {
    std::lock_guard lock(State().mutex);
    for (HWND hwnd : State().creationOrder) {
      Window* window = FindWindowLocked(hwnd);
      if (window && !window->parent) topLevel.push_back(hwnd);
    }
  }
  for (HWND hwnd : topLevel) PostMessageA(hwnd, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
}

bool RequestMainWindowClose() {
  HWND main = nullptr;
  {
    std::lock_guard lock(State().mutex);
    for (HWND hwnd : State().creationOrder) {
      Window* window = FindWindowLocked(hwnd);
      if (window && !window->parent) {
        if (!window->created) return false;
        main = hwnd;
        break;
      }
    }
  }
  if (main) PressCloseButton(main);
  return main != nullptr;
}

}  // namespace morvex::user
