#include "views/view_window.h"

#include <cstdio>

#include "shared/settings.h"

namespace {

void ShowErrorCode() {
  char text[32];
  std::snprintf(text, sizeof text, "errorcode:%d", static_cast<int>(GetLastError()));
  MessageBoxA(nullptr, text, "", MB_OK);
}

bool Register(const ViewWindowRecord& view, HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = view.procedure;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(Settings.iconselectinini.load()));
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = view.className;
  return RegisterClassA(&wc) != 0;
}

void EnsureRegistered(ViewWindowRecord& view, HINSTANCE instance) {
  if (view.registered) return;
  if (!Register(view, instance)) {
    ShowErrorCode();
    if (!Register(view, instance)) {
      MessageBoxA(nullptr, "", "'textout windowclass' register class failed.", MB_OK);
      ShowErrorCode();
      ExitProcess(1);
    }
  }
  view.registered = true;
}

// A command of the view's popup: its value items and its toggle.
bool IsPopupCommand(const ViewPopupLayout& layout, UINT id) {
  if (id == layout.toggleId) return true;
  for (int32_t i = 0; i < layout.itemCount; ++i) {
    if (layout.items[i].id == id) return true;
  }
  return false;
}

}  // namespace

HWND CreateViewWindow(ViewWindowRecord& view, HWND mainWindow, const ViewWindowPlace& place) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!instance) {
    MessageBoxA(nullptr, "", "textout getmodulehandle failed.", MB_OK);
    ExitProcess(1);
  }
  EnsureRegistered(view, instance);
  view.mainWindow = mainWindow;
  const HWND hwnd = CreateWindowExA(0, view.className, view.title, WS_OVERLAPPEDWINDOW, place.x, place.y, place.width,
                                    place.height, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return nullptr;
  UpdateWindow(hwnd);
  if (Settings.sgfftclosebuttondisable == 1) EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  CreateViewSurface(view.surface, hwnd, Settings.virtualscreendynamicmemaloc == 0);
  view.window = hwnd;
  if (view.stop->load() != 1) ShowWindow(hwnd, SW_SHOWNORMAL);
  return hwnd;
}

void DestroyViewWindow(ViewWindowRecord& view) {
  if (const HWND hwnd = view.window.exchange(nullptr)) DestroyWindow(hwnd);
  DestroyViewSurface(view.surface);
  DestroyMenu(view.popupBar);
  view.popupBar = nullptr;
  view.popup = nullptr;
  view.markedItem = 0;
}

void SwitchViewWindow(ViewWindowRecord& view, bool on) {
  const HWND hwnd = view.window;
  if (!hwnd) return;
  if (on) {
    *view.stop = 0;
    StartViewThread(view.kind);
    ShowWindow(hwnd, SW_SHOWNORMAL);
  } else {
    *view.stop = 1;
    ShowWindow(hwnd, SW_HIDE);
  }
}

void TrackViewPopup(const ViewWindowRecord& view, LPARAM lParam) {
  const HWND hwnd = view.window;
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ClientToScreen(hwnd, &point);
  TrackPopupMenu(view.popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, hwnd, nullptr);
}

LRESULT HandleViewMessage(ViewWindowRecord& view, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: {
      RECT client{};
      GetClientRect(hwnd, &client);
      *view.clientWidth = client.right;
      *view.clientHeight = client.bottom;
      view.popupBar = BuildViewPopup(*view.popupLayout, &view.popup);
      return 0;
    }
    case WM_SIZE:
      *view.clientWidth = LOWORD(lParam);
      *view.clientHeight = HIWORD(lParam);
      *view.paramsChanged = 1;
      *view.resized = 1;
      return 0;
    case WM_PAINT: {
      // The thread draws; a paint only validates.
      PAINTSTRUCT paint;
      BeginPaint(hwnd, &paint);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_CLOSE:
      PostMessageA(view.mainWindow, WM_SYSCOMMAND, view.switchCommand, 0);
      return 0;
    case WM_DESTROY:
      PostMessageA(view.mainWindow, WM_DESTROY, 0, 0);
      return 0;
    case WM_ACTIVATEAPP:
      if (wParam) SetForegroundWindow(hwnd);
      return 0;
    case WM_CHAR:
      PostMessageA(view.mainWindow, WM_CHAR, wParam, lParam);
      return 0;
    case WM_KEYDOWN:
      return 0;
    case WM_COMMAND:
      if (!IsPopupCommand(*view.popupLayout, LOWORD(wParam))) break;
      PostMessageA(view.mainWindow, WM_SYSCOMMAND, LOWORD(wParam), lParam);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
