#include "platform/user/window_geometry.h"

#include <algorithm>

#include "platform/display/display_backend.h"
#include "platform/user/painting.h"

namespace morvex::user {
namespace {

WPARAM SizeKind(ShowState state) {
  switch (state) {
    case ShowState::Minimized: return SIZE_MINIMIZED;
    case ShowState::Maximized: return SIZE_MAXIMIZED;
    default: return SIZE_RESTORED;
  }
}

POINT ClientOrigin(const Window& window) {
  if (window.parent) return {window.rect.left, window.rect.top};
  return {window.rect.left + kFrameLeft, window.rect.top + kFrameTop};
}

// `rect` enlarged to the minimum tracking size where it is smaller, keeping its top-left corner.
RECT WithMinimumTrackSize(const RECT& rect) {
  return {rect.left, rect.top, std::max(rect.right, rect.left + kMinTrackWidth),
          std::max(rect.bottom, rect.top + kMinTrackHeight)};
}

}  // namespace

LRESULT CallWindow(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc = nullptr;
  {
    std::lock_guard lock(State().mutex);
    if (Window* window = FindWindowLocked(hwnd)) proc = window->proc;
  }
  return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

void SetWindowPlacement(HWND hwnd, const RECT& rect, ShowState state, bool repaint, bool forceNotify) {
  bool sizeChanged = false, moved = false;
  int width = 0, height = 0;
  POINT origin{};
  {
    std::lock_guard lock(State().mutex);
    Window* window = FindWindowLocked(hwnd);
    if (!window) return;
    const int oldWidth = window->clientWidth, oldHeight = window->clientHeight;
    const POINT oldOrigin = ClientOrigin(*window);
    const ShowState oldState = window->showState;
    window->rect = !window->parent && state == ShowState::Normal ? WithMinimumTrackSize(rect) : rect;
    window->showState = state;
    UpdateClientSize(*window);
    width = window->clientWidth;
    height = window->clientHeight;
    origin = ClientOrigin(*window);
    sizeChanged = width != oldWidth || height != oldHeight || state != oldState;
    moved = origin.x != oldOrigin.x || origin.y != oldOrigin.y;
    if (sizeChanged) window->surface->resize(width, height, kWhitePixel);
    const bool redrawAll = sizeChanged && (window->classStyle & (CS_HREDRAW | CS_VREDRAW));
    if (repaint || redrawAll) InvalidateLocked(*window, nullptr, true);
  }
  display::Backend().windowChanged(hwnd);
  if (sizeChanged || forceNotify) {
    CallWindow(hwnd, WM_SIZE, SizeKind(state), MAKELPARAM(width, height));
  }
  if (moved || forceNotify) {
    CallWindow(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<SHORT>(origin.x), static_cast<SHORT>(origin.y)));
  }
}

}  // namespace morvex::user
