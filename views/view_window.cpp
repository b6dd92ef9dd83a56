#include "views/view_window.h"

#include <cstdio>

#include "app/settings.h"

namespace {

void ShowErrorCode() {
  char text[32];
  std::snprintf(text, sizeof text, "errorcode:%d", static_cast<int>(GetLastError()));
  MessageBoxA(nullptr, text, "", MB_OK);
}

bool Register(const ViewWindowClass& cls, HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = cls.procedure;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(Settings.iconselectinini.load()));
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = cls.name;
  return RegisterClassA(&wc) != 0;
}

void EnsureRegistered(ViewWindowClass& cls, HINSTANCE instance) {
  if (cls.registered) return;
  if (!Register(cls, instance)) {
    ShowErrorCode();
    if (!Register(cls, instance)) {
      MessageBoxA(nullptr, "", "'textout windowclass' register class failed.", MB_OK);
      ShowErrorCode();
      ExitProcess(1);
    }
  }
  cls.registered = true;
}

}  // namespace

HWND CreateViewWindow(ViewWindowClass& cls, const char* title, const ViewWindowPlace& place) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!instance) {
    MessageBoxA(nullptr, "", "textout getmodulehandle failed.", MB_OK);
    ExitProcess(1);
  }
  EnsureRegistered(cls, instance);
  const HWND hwnd = CreateWindowExA(0, cls.name, title, WS_OVERLAPPEDWINDOW, place.x, place.y, place.width,
                                    place.height, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return nullptr;
  UpdateWindow(hwnd);
  if (Settings.sgfftclosebuttondisable == 1) EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  return hwnd;
}

bool HandleSharedViewMessage(HWND hwnd, HWND mainWindow, UINT closeCommand, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      // The thread draws; a paint only validates.
      PAINTSTRUCT paint;
      BeginPaint(hwnd, &paint);
      EndPaint(hwnd, &paint);
      return true;
    }
    case WM_CLOSE:
      PostMessageA(mainWindow, WM_SYSCOMMAND, closeCommand, 0);
      return true;
    case WM_DESTROY:
      PostMessageA(mainWindow, WM_DESTROY, 0, 0);
      return true;
    case WM_ACTIVATEAPP:
      if (wParam) SetForegroundWindow(hwnd);
      return true;
    case WM_CHAR:
      PostMessageA(mainWindow, WM_CHAR, wParam, lParam);
      return true;
    case WM_KEYDOWN:
      return true;
    default:
      return false;
  }
}

void TrackViewPopup(HWND hwnd, HMENU popup, LPARAM lParam) {
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ClientToScreen(hwnd, &point);
  TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, hwnd, nullptr);
}
