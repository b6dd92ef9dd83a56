#include "views/vectorscope_window.h"

#include <iterator>

#include "app/settings.h"
#include "audio/view_threads.h"
#include "views/view_menu.h"
#include "views/view_surface.h"
#include "views/view_window.h"

std::atomic<int32_t> VsClientWidth{0};
std::atomic<int32_t> VsClientHeight{0};
std::atomic<int32_t> VsParamsChanged{0};
std::atomic<int32_t> VsResized{0};
std::atomic<int32_t> VsLineMode{1};
std::atomic<int32_t> VsShowWaits{0};

namespace {

constexpr ValueMenuItem kSampleItems[] = {{66, 200, "200sample"},   {67, 300, "300sample"},   {68, 400, "400sample"},
                                          {69, 500, "500sample"},   {70, 1000, "1000sample"}, {71, 2000, "2000sample"},
                                          {72, 3000, "3000sample"}};
constexpr ViewPopupLayout kPopupLayout = {"vsmenu dummy", "vscscp sample", kSampleItems,
                                          static_cast<int32_t>(std::size(kSampleItems)), kVsLineCommand, "lineにする"};

ViewWindowClass windowClass{kVectorscopeClass, VectorscopeWindowProc};
ViewSurface surface;
std::atomic<HWND> window{nullptr};
HWND mainWindow = nullptr;
HMENU popupBar = nullptr;
HMENU popup = nullptr;
UINT markedSampleItem = 0;

void StoreClientSize(int32_t width, int32_t height) {
  VsClientWidth = width;
  VsClientHeight = height;
  VsParamsChanged = 1;
  VsResized = 1;
}

void ShowPopup(HWND hwnd, LPARAM lParam) {
  MoveValueMark(popup, kPopupLayout, Settings.vecscpsample, true, &markedSampleItem);
  SetToggleMark(popup, kVsLineCommand, VsLineMode == 1);
  TrackViewPopup(hwnd, popup, lParam);
}

}  // namespace

HWND CreateVectorscopeWindow(HWND main) {
  mainWindow = main;
  const HWND hwnd = CreateViewWindow(windowClass, "vectorscope",
                                     {Settings.vswindowpx, Settings.vswindowpy, Settings.vswindowwidth, Settings.vswindowheight});
  if (!hwnd) return nullptr;
  CreateViewSurface(surface, hwnd, Settings.virtualscreendynamicmemaloc == 0);
  window = hwnd;
  if (Settings.vswindowstop != 1) ShowWindow(hwnd, SW_SHOWNORMAL);
  return hwnd;
}

void DestroyVectorscopeWindow() {
  if (const HWND hwnd = window.exchange(nullptr)) DestroyWindow(hwnd);
  DestroyViewSurface(surface);
  DestroyMenu(popupBar);
  popupBar = nullptr;
  popup = nullptr;
  markedSampleItem = 0;
}

HWND VectorscopeWindowHandle() { return window; }

HMENU VectorscopePopup() { return popup; }

ViewSurface& VectorscopeSurfaceRecord() { return surface; }

void SwitchVectorscopeView(bool on) {
  const HWND hwnd = window;
  if (!hwnd) return;
  if (on) {
    Settings.vswindowstop = 0;
    StartViewThread(ViewKind::Vectorscope);
    ShowWindow(hwnd, SW_SHOWNORMAL);
  } else {
    Settings.vswindowstop = 1;
    ShowWindow(hwnd, SW_HIDE);
  }
}

LRESULT CALLBACK VectorscopeWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (HandleSharedViewMessage(hwnd, mainWindow, kVectorscopeCommand, msg, wParam, lParam)) return 0;
  switch (msg) {
    case WM_CREATE: {
      RECT client{};
      GetClientRect(hwnd, &client);
      VsClientWidth = client.right;
      VsClientHeight = client.bottom;
      popupBar = BuildViewPopup(kPopupLayout, &popup);
      return 0;
    }
    case WM_SIZE:
      StoreClientSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_RBUTTONUP:
      ShowPopup(hwnd, lParam);
      return 0;
    case WM_COMMAND: {
      const UINT id = LOWORD(wParam);
      if (id < kVsFirstSampleCommand || id > kVsLineCommand) break;
      PostMessageA(mainWindow, WM_SYSCOMMAND, id, lParam);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
