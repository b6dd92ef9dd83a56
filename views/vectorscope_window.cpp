#include "views/vectorscope_window.h"

#include <iterator>

#include "shared/settings.h"

std::atomic<int32_t> VsClientWidth{0};
std::atomic<int32_t> VsClientHeight{0};
std::atomic<int32_t> VsParamsChanged{0};
std::atomic<int32_t> VsResized{0};
std::atomic<int32_t> VsLineMode{1};
std::atomic<int32_t> VsShowWaits{0};

namespace {

constexpr UINT kLineCommand = 73;
constexpr ValueMenuItem kSampleItems[] = {{66, 200, "200sample"},   {67, 300, "300sample"},   {68, 400, "400sample"},
                                          {69, 500, "500sample"},   {70, 1000, "1000sample"}, {71, 2000, "2000sample"},
                                          {72, 3000, "3000sample"}};
constexpr ViewPopupLayout kPopupLayout = {"vsmenu dummy", "vscscp sample", kSampleItems,
                                          static_cast<int32_t>(std::size(kSampleItems)), kLineCommand, "lineにする"};

void ShowPopup(LPARAM lParam) {
  MoveValueMark(VectorscopeView.popup, kPopupLayout, Settings.vecscpsample, true, &VectorscopeView.markedItem);
  SetToggleMark(VectorscopeView.popup, kLineCommand, VsLineMode == 1);
  TrackViewPopup(VectorscopeView, lParam);
}

}  // namespace

ViewWindowRecord VectorscopeView{"vs",           "vectorscope",       VectorscopeWindowProc, ViewKind::Vectorscope,
                                 &Settings.vswindowstop, kVectorscopeCommand, &kPopupLayout,          &VsClientWidth,
                                 &VsClientHeight,        &VsParamsChanged,    &VsResized};

HWND CreateVectorscopeWindow(HWND mainWindow) {
  return CreateViewWindow(VectorscopeView, mainWindow,
                          {Settings.vswindowpx, Settings.vswindowpy, Settings.vswindowwidth, Settings.vswindowheight});
}

void DestroyVectorscopeWindow() { DestroyViewWindow(VectorscopeView); }

HWND VectorscopeWindowHandle() { return VectorscopeView.window; }

void SwitchVectorscopeView(bool on) { SwitchViewWindow(VectorscopeView, on); }

LRESULT CALLBACK VectorscopeWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_RBUTTONUP) return HandleViewMessage(VectorscopeView, hwnd, msg, wParam, lParam);
  ShowPopup(lParam);
  return 0;
}
