#include "analysis/fft_window.h"

#include <cstdio>

#include "analysis/fft_graph.h"
#include "analysis/fft_graph_flags.h"
#include "analysis/fft_window_menu.h"
#include "analysis/screen_surface.h"

std::atomic<HDC> FftBackSurface{nullptr};
std::atomic<HDC> FftGridSurface{nullptr};

namespace {

constexpr const char* kInitialTitle = "fft window";
constexpr int kIconA = 101;
constexpr int kIconB = 102;

// Set on the user-interface thread before the window handle is published; the FFT thread reads
// them only after it has seen the handle.
struct ViewState {
  HWND mainWindow = nullptr;
  FftViewSources sources;
  FftGraphMetrics metrics;
  HMENU popupBar = nullptr;
  HBITMAP backBitmap = nullptr;
  HBITMAP gridBitmap = nullptr;
  bool classRegistered = false;
};
ViewState view;

std::atomic<HWND> fftWindow{nullptr};
std::atomic<int32_t> clientWidth{0};
std::atomic<int32_t> clientHeight{0};

void ShowErrorCode() {
  char text[32];
  std::snprintf(text, sizeof text, "errorcode:%d", static_cast<int>(GetLastError()));
  MessageBoxA(nullptr, text, "", MB_OK);
}

bool RegisterFftClass(HINSTANCE instance) {
  WNDCLASSA cls{};
  cls.style = CS_HREDRAW | CS_VREDRAW;
  cls.lpfnWndProc = FftWindowProc;
  cls.hInstance = instance;
  cls.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(view.sources.settings->iconselectinini == kIconA ? kIconA : kIconB));
  cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  cls.lpszClassName = kFftWindowClass;
  return RegisterClassA(&cls) != 0;
}

// Once per process; a class that cannot be registered even on a second try ends the program.
void EnsureFftClass(HINSTANCE instance) {
  if (view.classRegistered) return;
  if (!RegisterFftClass(instance)) {
    ShowErrorCode();
    if (!RegisterFftClass(instance)) {
      MessageBoxA(nullptr, "", "'textout windowclass' register class failed.", MB_OK);
      ShowErrorCode();
      ExitProcess(1);
    }
  }
  view.classRegistered = true;
}

int32_t LineHeight(HDC dc, int32_t* averageWidth) {
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  if (averageWidth) *averageWidth = metrics.tmAveCharWidth;
  return metrics.tmHeight + metrics.tmExternalLeading;
}


void CreateSurfaces(HWND hwnd, HFONT font) {
  const HDC windowDc = GetDC(hwnd);
  const HDC back = CreateScreenSurface(windowDc, font, &view.backBitmap);
  const HDC grid = CreateScreenSurface(windowDc, font, &view.gridBitmap);
  view.metrics = MeasureFftGraphMetrics(windowDc, back);
  ReleaseDC(hwnd, windowDc);
  FftBackSurface = back;
  FftGridSurface = grid;
}

void OnCreate(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  clientWidth = client.right;
  clientHeight = client.bottom;
  view.popupBar = BuildFftPopup();
  char title[96];
  FormatFftWindowTitle(title, sizeof title, view.sources.store->format);
  SetWindowTextA(hwnd, title);
}

void OnPaint(HWND hwnd) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(hwnd, &paint);
  const SettingsRecord& settings = *view.sources.settings;
  const bool lines = FftStrategyOf(settings.fftdrawold, settings.fftdrawline) == FftStrategy::EraseWithLines;
  HDC picture = nullptr;
  if (view.sources.playflag->load() == 0) {
    // The last picture stays, also over a size change (a minimise and restore): a relayout needs
    // a running source to draw and waits for the next start.
    picture = lines ? FftGridSurface.load() : FftBackSurface.load();
  } else if (lines) {
    picture = FftGridSurface;
  }
  if (picture) BitBlt(dc, 0, 0, clientWidth, clientHeight, picture, 0, 0, SRCCOPY);
  EndPaint(hwnd, &paint);
}

void ShowPopup(HWND hwnd, LPARAM lParam) {
  MarkFftPopup(FftPopup, *view.sources.settings);
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ClientToScreen(hwnd, &point);
  TrackPopupMenu(FftPopup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, hwnd, nullptr);
}

}  // namespace

HWND CreateFftWindow(HWND mainWindow, HFONT font, int showMode, const FftViewSources& sources) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!instance) {
    MessageBoxA(nullptr, "", "textout getmodulehandle failed.", MB_OK);
    ExitProcess(1);
  }
  view.mainWindow = mainWindow;
  view.sources = sources;
  EnsureFftClass(instance);
  const SettingsRecord& settings = *sources.settings;
  const HWND hwnd = CreateWindowExA(0, kFftWindowClass, kInitialTitle, WS_OVERLAPPEDWINDOW, settings.fftwindowpx,
                                    settings.fftwindowpy, settings.fftwindowwidth, settings.fftwindowheight, nullptr,
                                    nullptr, instance, nullptr);
  if (!hwnd) return nullptr;
  CreateSurfaces(hwnd, font);
  fftWindow = hwnd;
  ShowWindow(hwnd, showMode);
  UpdateWindow(hwnd);
  if (settings.sgfftclosebuttondisable == 1) EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  return hwnd;
}

void DestroyFftWindow() {
  if (const HWND hwnd = fftWindow.exchange(nullptr)) DestroyWindow(hwnd);
  if (const HDC back = FftBackSurface.exchange(nullptr)) DeleteDC(back);
  if (const HDC grid = FftGridSurface.exchange(nullptr)) DeleteDC(grid);
  DeleteObject(view.backBitmap);
  DeleteObject(view.gridBitmap);
  DestroyMenu(view.popupBar);
  view.backBitmap = nullptr;
  view.gridBitmap = nullptr;
  view.popupBar = nullptr;
  FftPopup = nullptr;
}

HWND FftWindowHandle() { return fftWindow; }

const FftViewSources* FftWindowSources() { return fftWindow.load() ? &view.sources : nullptr; }

FftWindowSize FftWindowClientSize() { return {clientWidth, clientHeight}; }

FftGraphMetrics FftWindowMetrics() { return view.metrics; }

FftGraphMetrics MeasureFftGraphMetrics(HDC windowDc, HDC surface) {
  FftGraphMetrics metrics;
  metrics.defaultLineHeight = LineHeight(windowDc, nullptr);
  metrics.lineHeight = LineHeight(surface, &metrics.charWidth);
  return metrics;
}

void FormatFftWindowTitle(char* text, size_t size, const WAVEFORMATEX& format) {
  if (format.nSamplesPerSec == 22050) {
    std::snprintf(text, size, "%s(%dkhz %dch %dbit)", kInitialTitle, 22, format.nChannels, format.wBitsPerSample);
  } else {
    std::snprintf(text, size, "%s(%.1fkhz %dch %dbit)", kInitialTitle, format.nSamplesPerSec / 1000.0,
                  format.nChannels, format.wBitsPerSample);
  }
}

LRESULT CALLBACK FftWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      OnCreate(hwnd);
      return 0;
    case WM_SIZE:
      clientWidth = LOWORD(lParam);
      clientHeight = HIWORD(lParam);
      FftRelayout = 1;
      return 0;
    case WM_MOVE:
      view.sources.settings->fftwindowpx = static_cast<short>(LOWORD(lParam));
      view.sources.settings->fftwindowpy = static_cast<short>(HIWORD(lParam));
      return 0;
    case WM_PAINT:
      OnPaint(hwnd);
      return 0;
    case WM_RBUTTONUP:
      ShowPopup(hwnd, lParam);
      return 0;
    case WM_COMMAND:
      if (OnFftCommand(view.mainWindow, *view.sources.settings, *view.sources.store, wParam, lParam)) return 0;
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_CHAR:
      PostMessageA(view.mainWindow, WM_CHAR, wParam, lParam);
      return 0;
    case WM_KEYDOWN:
    case WM_VSCROLL:
      return 0;
    case WM_ACTIVATEAPP:
      if (wParam) SetForegroundWindow(hwnd);
      return 0;
    case WM_CLOSE:
      // The main window closes the program; this window is not destroyed by it.
      PostMessageA(view.mainWindow, WM_CLOSE, 0, 0);
      return 0;
    case WM_DESTROY:
      PostMessageA(view.mainWindow, WM_DESTROY, 0, 0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}
