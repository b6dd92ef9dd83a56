#include "views/waveform_window.h"

#include <iterator>

#include "app/settings.h"
#include "audio/view_threads.h"
#include "views/view_menu.h"
#include "views/view_surface.h"
#include "views/view_window.h"

std::atomic<int32_t> WavClientWidth{0};
std::atomic<int32_t> WavClientHeight{0};
std::atomic<int32_t> WavParamsChanged{0};
std::atomic<int32_t> WavResized{0};

namespace {

constexpr ValueMenuItem kPauseItems[] = {{77, 0, "0ms"}, {78, 5, "5ms"}, {79, 10, "10ms"}, {80, 20, "20ms"}, {81, 50, "50ms"}};
constexpr ViewPopupLayout kPopupLayout = {"wavmenu dummy", "wavgraph更新休止時間", kPauseItems,
                                          static_cast<int32_t>(std::size(kPauseItems)), kWavSqueezeCommand,
                                          "fftを計算してる範囲に縮小"};

ViewWindowClass windowClass{kWaveformClass, WaveformWindowProc};
ViewSurface surface;
std::atomic<HWND> window{nullptr};
HWND mainWindow = nullptr;
HMENU popupBar = nullptr;
HMENU popup = nullptr;
UINT markedPauseItem = 0;

void ShowPopup(HWND hwnd, LPARAM lParam) {
  // A pause no item offers (set in the settings file) leaves the marks as they are.
  MoveValueMark(popup, kPopupLayout, Settings.wavwindowsleeptime, false, &markedPauseItem);
  SetToggleMark(popup, kWavSqueezeCommand, Settings.wavgphffts == 1);
  TrackViewPopup(hwnd, popup, lParam);
}

}  // namespace

HWND CreateWaveformWindow(HWND main) {
  mainWindow = main;
  const HWND hwnd = CreateViewWindow(windowClass, "wav window",
                                     {Settings.wavwindowpx, Settings.wavwindowpy, Settings.wavwindowwidth, Settings.wavwindowheight});
  if (!hwnd) return nullptr;
  CreateViewSurface(surface, hwnd, Settings.virtualscreendynamicmemaloc == 0);
  window = hwnd;
  if (Settings.wavwindowstop != 1) ShowWindow(hwnd, SW_SHOWNORMAL);
  return hwnd;
}

void DestroyWaveformWindow() {
  if (const HWND hwnd = window.exchange(nullptr)) DestroyWindow(hwnd);
  DestroyViewSurface(surface);
  DestroyMenu(popupBar);
  popupBar = nullptr;
  popup = nullptr;
  markedPauseItem = 0;
}

HWND WaveformWindowHandle() { return window; }

HMENU WaveformPopup() { return popup; }

ViewSurface& WaveformSurfaceRecord() { return surface; }

void SwitchWaveformView(bool on) {
  const HWND hwnd = window;
  if (!hwnd) return;
  if (on) {
    Settings.wavwindowstop = 0;
    StartViewThread(ViewKind::Waveform);
    ShowWindow(hwnd, SW_SHOWNORMAL);
  } else {
    Settings.wavwindowstop = 1;
    ShowWindow(hwnd, SW_HIDE);
  }
}

LRESULT CALLBACK WaveformWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (HandleSharedViewMessage(hwnd, mainWindow, kWaveformCommand, msg, wParam, lParam)) return 0;
  switch (msg) {
    case WM_CREATE: {
      RECT client{};
      GetClientRect(hwnd, &client);
      WavClientWidth = client.right;
      WavClientHeight = client.bottom;
      popupBar = BuildViewPopup(kPopupLayout, &popup);
      return 0;
    }
    case WM_SIZE:
      WavClientWidth = LOWORD(lParam);
      WavClientHeight = HIWORD(lParam);
      WavParamsChanged = 1;
      WavResized = 1;
      return 0;
    case WM_RBUTTONUP:
      ShowPopup(hwnd, lParam);
      return 0;
    case WM_COMMAND: {
      const UINT id = LOWORD(wParam);
      if (id < kWavFirstPauseCommand || id > kWavSqueezeCommand) break;
      PostMessageA(mainWindow, WM_SYSCOMMAND, id, lParam);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
