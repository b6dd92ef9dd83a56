// Window classes and windows: registration, creation with WM_CREATE/WM_SIZE/WM_MOVE inside the
// call, destruction, showing, moving and the rectangles.
#include <cstring>

#include "platform/display/display_backend.h"
#include "platform/user/builtin_classes.h"
#include "platform/user/menus.h"
#include "platform/user/painting.h"
#include "platform/user/window_geometry.h"
#include "platform/user/window_state.h"
#include "platform/win32.h"

using namespace morvex::user;

namespace {

constexpr int kDefaultX = 100, kDefaultY = 100, kDefaultWidth = 640, kDefaultHeight = 480;
constexpr int kMinimizedWidth = 160, kMinimizedHeight = 28;

RECT OuterRect(int x, int y, int width, int height) {
  if (x == CW_USEDEFAULT) x = kDefaultX, y = kDefaultY;
  if (width == CW_USEDEFAULT) width = kDefaultWidth, height = kDefaultHeight;
  return {x, y, x + width, y + height};
}

}  // namespace

ATOM RegisterClassA(const WNDCLASSA* wndClass) {
  if (!wndClass || !wndClass->lpszClassName || !wndClass->lpfnWndProc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  EnsureBuiltinClasses();
  std::lock_guard lock(State().mutex);
  const std::string key = LowerCase(wndClass->lpszClassName);
  if (State().classes.count(key)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  State().classes[key] = WindowClass{wndClass->lpszClassName, wndClass->style, wndClass->lpfnWndProc,
                                     wndClass->hbrBackground, wndClass->hIcon};
  return static_cast<ATOM>(0xC000 + State().classes.size());
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  EnsureBuiltinClasses();
  HWND hwnd = nullptr;
  {
    std::lock_guard lock(State().mutex);
    auto cls = State().classes.find(LowerCase(className));
    if (cls == State().classes.end()) {
      SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
      return nullptr;
    }
    if (parent && !FindWindowLocked(parent)) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    auto window = std::make_unique<Window>();
    hwnd = reinterpret_cast<HWND>(State().nextHandle);
    State().nextHandle += 0x10;
    window->handle = hwnd;
    window->className = cls->second.name;
    window->classStyle = cls->second.style;
    window->proc = cls->second.proc;
    window->background = cls->second.background;
    window->icon = cls->second.icon;
    window->text = windowName ? windowName : "";
    window->style = style & ~static_cast<DWORD>(WS_VISIBLE);
    window->parent = (style & WS_CHILD) ? parent : nullptr;
    window->rect = OuterRect(x, y, width, height);
    window->restoreRect = window->rect;
    UpdateClientSize(*window);
    window->surface = std::make_shared<morvex::gdi::Surface>(window->clientWidth, window->clientHeight, kWhitePixel);
    State().windows[hwnd] = std::move(window);
    State().creationOrder.push_back(hwnd);
    if (State().uiThreadId == 0) State().uiThreadId = GetCurrentThreadId();
  }
  AttachSurfaceListener(hwnd);
  morvex::display::Backend().windowCreated(hwnd);

  CREATESTRUCTA create{param, instance, menu, parent, height, width, y, x,
                       static_cast<LONG>(style), windowName, className, exStyle};
  if (CallWindow(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  RECT rect;
  {
    std::lock_guard lock(State().mutex);
    Window* window = FindWindowLocked(hwnd);
    if (!window) return nullptr;  // destroyed by its own creation handler
    window->created = true;
    rect = window->rect;
  }
  // The placement gives a top-level window at least the minimum tracking size.
  SetWindowPlacement(hwnd, rect, ShowState::Normal, false, true);
  if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

BOOL DestroyWindow(HWND hwnd) {
  std::vector<HWND> children;
  {
    std::lock_guard lock(State().mutex);
    Window* window = FindWindowLocked(hwnd);
    if (!window || window->destroying) return FALSE;
    window->destroying = true;
    window->visible = false;
    for (auto& [handle, other] : State().windows) {
      if (other->parent == hwnd) children.push_back(handle);
    }
  }
  morvex::display::Backend().windowChanged(hwnd);
  CallWindow(hwnd, WM_DESTROY, 0, 0);
  for (HWND child : children) DestroyWindow(child);
  HMENU systemMenu = nullptr;
  {
    std::lock_guard lock(State().mutex);
    Window* window = FindWindowLocked(hwnd);
    if (window) systemMenu = window->systemMenu;
    State().windows.erase(hwnd);
    std::erase(State().creationOrder, hwnd);
    std::erase_if(State().timers, [hwnd](const Timer& timer) { return timer.hwnd == hwnd; });
  }
  if (systemMenu) DestroyMenu(systemMenu);
  morvex::display::Backend().windowDestroyed(hwnd);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) {
  std::lock_guard lock(State().mutex);
  return FindWindowLocked(hwnd) != nullptr;
}

BOOL IsWindowVisible(HWND hwnd) {
  std::lock_guard lock(State().mutex);
  Window* window = FindWindowLocked(hwnd);
  return window && window->visible;
}

BOOL ShowWindow(HWND hwnd, int cmdShow) {
  bool wasVisible = false, nowVisible = false;
  ShowState oldState, newState;
  RECT newRect;
  {
    std::lock_guard lock(State().mutex);
    Window* window = FindWindowLocked(hwnd);
    if (!window) return FALSE;
    wasVisible = window->visible;
    oldState = newState = window->showState;
    newRect = window->rect;
    switch (cmdShow) {
      case SW_HIDE: break;
      case SW_SHOWMINIMIZED: case SW_MINIMIZE: case SW_SHOWMINNOACTIVE: newState = ShowState::Minimized; break;
      case SW_SHOWMAXIMIZED: newState = ShowState::Maximized; break;
      case SW_SHOWNORMAL: case SW_RESTORE: case SW_SHOWDEFAULT: newState = ShowState::Normal; break;
      default: break;  // SW_SHOW, SW_SHOWNA, SW_SHOWNOACTIVATE keep the state
    }
    nowVisible = cmdShow != SW_HIDE;
    if (oldState == ShowState::Normal && newState != ShowState::Normal) window->restoreRect = window->rect;
    if (newState != oldState) {
      if (newState == ShowState::Normal) {
        newRect = window->restoreRect;
      } else if (newState == ShowState::Minimized) {
        newRect = {kMinimizedPosition, kMinimizedPosition, kMinimizedPosition + kMinimizedWidth,
                   kMinimizedPosition + kMinimizedHeight};
      } else {
        const auto full = morvex::display::Backend().fullScreenClientSize();
        newRect = {-kFrameLeft, -kFrameTop, full.width + kFrameRight, full.height + kFrameBottom};
      }
    }
    window->visible = nowVisible;
    if (nowVisible && !wasVisible) InvalidateLocked(*window, nullptr, true);
  }
  if (nowVisible != wasVisible) CallWindow(hwnd, WM_SHOWWINDOW, nowVisible, 0);
  if (newState != oldState) {
    SetWindowPlacement(hwnd, newRect, newState, true, false);
  } else {
    morvex::display::Backend().windowChanged(hwnd);
  }
  return wasVisible;
}

BOOL UpdateWindow(HWND hwnd) {
  bool needsPaint = false;
  {
    std::lock_guard lock(State().mutex);
    Window* window = FindWindowLocked(hwnd);
    if (!window) return FALSE;
    needsPaint = window->invalid && window->visible;
  }
  if (needsPaint) CallWindow(hwnd, WM_PAINT, 0, 0);
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  ShowState state;
  {
    std::lock_guard lock(State().mutex);
    Window* window = FindWindowLocked(hwnd);
    if (!window) return FALSE;
    state = window->showState == ShowState::Minimized ? ShowState::Normal : window->showState;
  }
  SetWindowPlacement(hwnd, RECT{x, y, x + width, y + height}, state, repaint, false);
  return TRUE;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
  {
    std::lock_guard lock(State().mutex);
    Window* window = FindWindowLocked(hwnd);
    if (!window) return FALSE;
    window->text = text ? text : "";
  }
  morvex::display::Backend().windowChanged(hwnd);
  return TRUE;
}

int GetWindowTextA(HWND hwnd, LPSTR text, int maxCount) {
  if (!text || maxCount <= 0) return 0;
  std::lock_guard lock(State().mutex);
  Window* window = FindWindowLocked(hwnd);
  if (!window) {
    text[0] = '\0';
    return 0;
  }
  const size_t count = std::min(window->text.size(), static_cast<size_t>(maxCount - 1));
  std::memcpy(text, window->text.data(), count);
  text[count] = '\0';
  return static_cast<int>(count);
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  if (!rect) return FALSE;
  std::lock_guard lock(State().mutex);
  Window* window = FindWindowLocked(hwnd);
  if (!window) return FALSE;
  *rect = window->rect;
  // A child's rectangle in screen coordinates: offset by its parents' client origins.
  for (Window* parent = FindWindowLocked(window->parent); parent; parent = FindWindowLocked(parent->parent)) {
    const int dx = parent->rect.left + (parent->parent ? 0 : kFrameLeft);
    const int dy = parent->rect.top + (parent->parent ? 0 : kFrameTop);
    rect->left += dx, rect->right += dx, rect->top += dy, rect->bottom += dy;
  }
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  if (!rect) return FALSE;
  std::lock_guard lock(State().mutex);
  Window* window = FindWindowLocked(hwnd);
  if (!window) return FALSE;
  *rect = RECT{0, 0, window->clientWidth, window->clientHeight};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
  RECT outer;
  if (!point || !GetWindowRect(hwnd, &outer)) return FALSE;
  std::lock_guard lock(State().mutex);
  Window* window = FindWindowLocked(hwnd);
  if (!window) return FALSE;
  const bool framed = !window->parent && window->showState != ShowState::Minimized;
  point->x += outer.left + (framed ? kFrameLeft : 0);
  point->y += outer.top + (framed ? kFrameTop : 0);
  return TRUE;
}

BOOL SetForegroundWindow(HWND hwnd) {
  {
    std::lock_guard lock(State().mutex);
    if (!FindWindowLocked(hwnd)) return FALSE;
  }
  morvex::display::Backend().setForeground(hwnd);
  return TRUE;
}

int GetSystemMetrics(int index) {
  auto& backend = morvex::display::Backend();
  switch (index) {
    case SM_CXSCREEN: return backend.screenSize().width;
    case SM_CYSCREEN: return backend.screenSize().height;
    case SM_CXFULLSCREEN: return backend.fullScreenClientSize().width;
    case SM_CYFULLSCREEN: return backend.fullScreenClientSize().height;
    default: return 0;
  }
}
