// Default message handling: what a window gets for the messages its own procedure leaves alone.
#include "platform/user/menus.h"
#include "platform/user/popup_menus.h"
#include "platform/user/window_geometry.h"
#include "platform/user/window_state.h"
#include "platform/win32.h"

using namespace morvex::user;

namespace {

void EraseBackground(HWND hwnd, HDC hdc) {
  HBRUSH brush = nullptr;
  RECT client{};
  {
    std::lock_guard lock(State().mutex);
    Window* window = FindWindowLocked(hwnd);
    if (!window) return;
    brush = window->background;
    client = RECT{0, 0, window->clientWidth, window->clientHeight};
  }
  if (brush) FillRect(hdc, &client, brush);
}

void OpenSystemMenuAtClientPoint(HWND hwnd, int x, int y) {
  POINT point{x, y};
  ClientToScreen(hwnd, &point);
  ShowSystemMenu(hwnd, point.x, point.y);
}

}  // namespace

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE:
          if (!CloseDisabled(hwnd)) SendMessageA(hwnd, WM_CLOSE, 0, 0);
          return 0;
        case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); return 0;
        case SC_MAXIMIZE: ShowWindow(hwnd, SW_SHOWMAXIMIZED); return 0;
        case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); return 0;
        default: return 0;
      }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(hwnd, &paint);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      EraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
      return 1;
    // Linux desktops keep the title-bar menu to themselves: a middle click in the client area
    // or the Menu key opens the system menu instead.
    case WM_MBUTTONUP:
      OpenSystemMenuAtClientPoint(hwnd, static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_APPS) OpenSystemMenuAtClientPoint(hwnd, 0, 0);
      return 0;
    default:
      return 0;
  }
}
