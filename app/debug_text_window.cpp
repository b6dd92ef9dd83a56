#include "app/debug_text_window.h"

char DebugTextBuffer[kDebugTextBytes] = {};
int32_t DebugTextLength = 1;
HWND DebugEditControl = nullptr;
HWND DebugWindow = nullptr;

namespace {

constexpr const char* kFrameClass = "editwindowparentwindow";
constexpr int kFrameWidth = 350;
constexpr int kFrameHeight = 250;

LRESULT CALLBACK DebugFrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      DebugEditControl = CreateWindowExA(0, "edit", "",
                                         WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                             ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                                         0, 0, 0, 0, hwnd, nullptr, GetModuleHandleA(nullptr), nullptr);
      return 0;
    case WM_SIZE:
      MoveWindow(DebugEditControl, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(hwnd, &paint);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_CHAR:
      return 0;
    case WM_DESTROY:
      // The window and its edit control go; a later text makes new ones.
      DebugEditControl = nullptr;
      DebugWindow = nullptr;
      PostQuitMessage(0);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

bool RegisterFrameClass() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSA cls{};
  cls.style = CS_HREDRAW | CS_VREDRAW;
  cls.lpfnWndProc = DebugFrameProc;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  cls.lpszClassName = kFrameClass;
  registered = RegisterClassA(&cls) != 0;
  return registered;
}

void CreateDebugWindow() {
  if (!RegisterFrameClass()) {
    MessageBoxA(nullptr, "", "'ap windowclass'register class failed.", MB_OK);
    return;
  }
  DebugWindow = CreateWindowExA(0, kFrameClass, "debug", WS_OVERLAPPEDWINDOW, 0, 0, kFrameWidth, kFrameHeight,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ShowWindow(DebugWindow, SW_SHOWNORMAL);
  UpdateWindow(DebugWindow);
}

}  // namespace

HWND DebugTextClear() {
  DebugTextBuffer[0] = '\0';
  DebugTextLength = 1;
  return DebugEditControl;
}

HWND DebugTextAppend(const char* text) {
  if (!DebugEditControl) CreateDebugWindow();
  int32_t at = DebugTextLength - 1;  // over the previous terminating zero
  constexpr int32_t kLast = kDebugTextBytes - 1;  // room kept for the terminating zero
  for (const char* c = text; *c != '\0'; ++c) {
    const int32_t needed = *c == '\n' ? 2 : 1;
    if (at + needed > kLast) break;
    if (*c == '\n') DebugTextBuffer[at++] = '\r';
    DebugTextBuffer[at++] = *c;
  }
  DebugTextBuffer[at] = '\0';
  DebugTextLength = at + 1;
  SetWindowTextA(DebugEditControl, DebugTextBuffer);
  return DebugEditControl;
}
