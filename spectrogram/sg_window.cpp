#include "spectrogram/sg_window.h"

#include <atomic>
#include <cstdint>
#include <cstdio>

#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/sg_control.h"
#include "spectrogram/sg_geometry.h"
#include "spectrogram/sg_note_name.h"
#include "spectrogram/sg_surfaces.h"
#include "spectrogram/sg_window_menu.h"

namespace {

constexpr const char* kTitle = "sg window";
constexpr int kIconA = 101;
constexpr int kIconB = 102;
// The main window's show/hide command for this window.
constexpr WPARAM kShowHideCommand = 64;

// The window procedure's own state; user-interface thread only.
struct WindowState {
  HWND mainWindow = nullptr;  // SgMainWindow
  HMENU popupOuter = nullptr;
  HMENU popup = nullptr;      // SgPopupMenu
  int32_t checkedMagnification = 0;
  HFONT font = nullptr;       // SgWindowFont
  int32_t lineHeight = 0;
  int32_t charWidth = 0;
  bool classRegistered = false;
};
WindowState state;

std::atomic<HWND> sgWindow{nullptr};

void ShowErrorCode() {
  char text[32];
  std::snprintf(text, sizeof text, "errorcode:%d", static_cast<int>(GetLastError()));
  MessageBoxA(nullptr, text, "", MB_OK);
}

bool RegisterSgClass(HINSTANCE instance) {
  WNDCLASSA cls{};
  cls.style = CS_HREDRAW | CS_VREDRAW;
  cls.lpfnWndProc = SgWindowProc;
  cls.hInstance = instance;
  cls.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(Settings.iconselectinini == kIconA ? kIconA : kIconB));
  cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  cls.lpszClassName = kSgWindowClass;
  return RegisterClassA(&cls) != 0;
}

void EnsureSgClass(HINSTANCE instance) {
  if (state.classRegistered) return;
  if (!RegisterSgClass(instance)) {
    ShowErrorCode();
    if (!RegisterSgClass(instance)) {
      MessageBoxA(nullptr, "", "'textout windowclass' register class failed.", MB_OK);
      ShowErrorCode();
      ExitProcess(1);
    }
  }
  state.classRegistered = true;
}

// The window's own font for its cursor readout: 80 % of its default font's height.
void CreateReadoutFont(HWND hwnd) {
  const HDC dc = GetDC(hwnd);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  LOGFONTA description{};
  description.lfHeight = static_cast<LONG>(0.8 * metrics.tmHeight);
  state.font = CreateFontIndirectA(&description);
  const HGDIOBJ previous = SelectObject(dc, state.font);
  GetTextMetricsA(dc, &metrics);
  state.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
  state.charWidth = metrics.tmAveCharWidth;
  SelectObject(dc, previous);
  ReleaseDC(hwnd, dc);
}

void OnCreate(HWND hwnd) {
  CreateReadoutFont(hwnd);
  RECT client{};
  GetClientRect(hwnd, &client);
  SgControl.clientWidth = client.right;
  SgControl.clientHeight = client.bottom;
  state.popupOuter = BuildSgPopup(&state.popup);
}

bool PictureAtRest() { return playflag.load() == 0 && SgControl.clearRequest == 0; }

void OnPaint(HWND hwnd) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(hwnd, &paint);
  const HDC back = SgBackSurface;
  if (back && PictureAtRest()) BitBlt(dc, 0, 0, SgControl.clientWidth, SgControl.clientHeight, back, 0, 0, SRCCOPY);
  EndPaint(hwnd, &paint);
  // A running thread repaints at the end of its cycle.
  SgControl.repaintRequest = 1;
}

// While nothing plays the window shows the cursor frequency itself; while the thread runs it
// writes the same readout once per column.
void OnMouseMove(HWND hwnd, LPARAM lParam) {
  const int32_t row = HIWORD(lParam);
  SgControl.cursorRow = row;
  if (Settings.sgmousecurhzdis != 1 || !PictureAtRest() || Settings.sgliner != 0) return;
  const int32_t width = SgControl.clientWidth;
  const int32_t height = SgControl.clientHeight;
  const int32_t hz = FrequencyAtRow(SgAxisNyquist, SgAxisLogNyquist, height, row);
  char text[48];
  const int length = std::snprintf(text, sizeof text, "%dhz(%s)     ", hz, NoteName(hz));
  const HDC dc = GetDC(hwnd);
  const HGDIOBJ previous = SelectObject(dc, state.font);
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkColor(dc, RGB(0, 0, 0));
  TextOutA(dc, width - 16 * state.charWidth, height - state.lineHeight, text, length);
  SelectObject(dc, previous);
  ReleaseDC(hwnd, dc);
}

void ShowPopup(HWND hwnd, LPARAM lParam) {
  MarkSgPopup(state.popup, &state.checkedMagnification);
  POINT point{LOWORD(lParam), HIWORD(lParam)};
  ClientToScreen(hwnd, &point);
  TrackPopupMenu(state.popup, TPM_RIGHTBUTTON, point.x, point.y, 0, hwnd, nullptr);
}

}  // namespace

HWND CreateSgWindow(HWND mainWindow, int showMode) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!instance) {
    MessageBoxA(nullptr, "", "textout getmodulehandle failed.", MB_OK);
    ExitProcess(1);
  }
  EnsureSgClass(instance);
  const HWND hwnd = CreateWindowExA(0, kSgWindowClass, kTitle, WS_OVERLAPPEDWINDOW, Settings.sgwindowpx,
                                    Settings.sgwindowpy, Settings.sgwindowwidth, Settings.sgwindowheight, nullptr,
                                    nullptr, instance, nullptr);
  if (!hwnd) return nullptr;
  ShowWindow(hwnd, showMode);
  UpdateWindow(hwnd);
  state.mainWindow = mainWindow;
  sgWindow = hwnd;
  if (Settings.sgfftclosebuttondisable == 1) EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  return hwnd;
}

void DestroySgWindow() {
  if (const HWND hwnd = sgWindow.exchange(nullptr)) DestroyWindow(hwnd);
  DestroyMenu(state.popupOuter);
  DeleteObject(state.font);
  const bool registered = state.classRegistered;
  state = WindowState{};
  state.classRegistered = registered;
}

HWND SgWindowHandle() { return sgWindow; }

HMENU SgPopupMenu() { return state.popup; }

LRESULT CALLBACK SgWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      OnCreate(hwnd);
      return 0;
    case WM_DESTROY:
      PostMessageA(state.mainWindow, WM_DESTROY, 0, 0);
      return 0;
    case WM_SIZE:
      SgControl.clientWidth = LOWORD(lParam);
      SgControl.clientHeight = HIWORD(lParam);
      SgControl.clearRequest = 1;
      return 0;
    case WM_KILLFOCUS:
      SgControl.cursorRow = -1;
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_PAINT:
      OnPaint(hwnd);
      return 0;
    case WM_CLOSE:
      PostMessageA(state.mainWindow, WM_SYSCOMMAND, kShowHideCommand, 0);
      return 0;
    case WM_ACTIVATEAPP:
      if (wParam == 1) SetForegroundWindow(hwnd);
      return 0;
    case WM_KEYDOWN:
    case WM_VSCROLL:
      return 0;
    case WM_CHAR:
      PostMessageA(state.mainWindow, WM_CHAR, wParam, lParam);
      return 0;
    case WM_COMMAND:
      OnSgCommand(state.mainWindow, wParam, lParam);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(hwnd, lParam);
      return 0;
    case WM_RBUTTONUP:
      ShowPopup(hwnd, lParam);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}
