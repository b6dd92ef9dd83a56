#include "views/waveform_window.h"

#include <iterator>

#include "shared/settings.h"

std::atomic<int32_t> WavClientWidth{0};
std::atomic<int32_t> WavClientHeight{0};
std::atomic<int32_t> WavParamsChanged{0};
std::atomic<int32_t> WavResized{0};

namespace {

constexpr UINT kSqueezeCommand = 82;
constexpr ValueMenuItem kPauseItems[] = {{77, 0, "0ms"}, {78, 5, "5ms"}, {79, 10, "10ms"}, {80, 20, "20ms"}, {81, 50, "50ms"}};
constexpr ViewPopupLayout kPopupLayout = {"wavmenu dummy", "wavgraph更新休止時間", kPauseItems,
                                          static_cast<int32_t>(std::size(kPauseItems)), kSqueezeCommand,
                                          "fftを計算してる範囲に縮小"};

void ShowPopup(LPARAM lParam) {
  // A pause no item offers (set in the settings file) leaves the marks as they are.
  MoveValueMark(WaveformView.popup, kPopupLayout, Settings.wavwindowsleeptime, false, &WaveformView.markedItem);
  SetToggleMark(WaveformView.popup, kSqueezeCommand, Settings.wavgphffts == 1);
  TrackViewPopup(WaveformView, lParam);
}

}  // namespace

ViewWindowRecord WaveformView{"wav",           "wav window",     WaveformWindowProc, ViewKind::Waveform,
                              &Settings.wavwindowstop, kWaveformCommand, &kPopupLayout,      &WavClientWidth,
                              &WavClientHeight,        &WavParamsChanged, &WavResized};

HWND CreateWaveformWindow(HWND mainWindow) {
  return CreateViewWindow(WaveformView, mainWindow,
                          {Settings.wavwindowpx, Settings.wavwindowpy, Settings.wavwindowwidth, Settings.wavwindowheight});
}

void DestroyWaveformWindow() { DestroyViewWindow(WaveformView); }

HWND WaveformWindowHandle() { return WaveformView.window; }

void SwitchWaveformView(bool on) { SwitchViewWindow(WaveformView, on); }

LRESULT CALLBACK WaveformWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_RBUTTONUP) return HandleViewMessage(WaveformView, hwnd, msg, wParam, lParam);
  ShowPopup(lParam);
  return 0;
}
