#include "app/view_windows.h"

#include "app/main_timers.h"
#include "app/menu_state.h"
#include "shared/settings.h"
#include "shared/sg_control.h"
#include "shared/view_threads.h"
#include "spectrogram/sg_window.h"
#include "views/vectorscope_window.h"
#include "views/waveform_window.h"

namespace {

constexpr UINT kSpectrogramShown = 64;
constexpr UINT kSpectrogramStopped = 53;
constexpr UINT kViewStartIdleMs = 1000;

// `stop` is the view's setting, 1 while it is hidden; `switchView` shows or hides its window and
// starts its thread.
void ToggleStoppableView(HWND mainWindow, const std::atomic<int32_t>& stop, void (*switchView)(bool), UINT command) {
  const bool show = stop != 0;
  switchView(show);
  SetMark(SystemMenu, command, show);
  if (show) EnterIdlePriorityFor(mainWindow, kViewStartIdleMs);
}

}  // namespace

void ToggleSpectrogramWindow() {
  if (SgWindowShown == 1) {
    SetMark(SystemMenu, kSpectrogramShown, false);
    SgControl.stopped = 1;
    SgWindowShown = 0;
    if (const HWND sg = SgWindowHandle()) ShowWindow(sg, SW_HIDE);
    return;
  }
  SgControl.stopped = 0;
  SetMark(SystemMenu, kSpectrogramShown, true);
  SgControl.clearRequest = 1;
  StartViewThread(ViewKind::Spectrogram);
  SgWindowShown = 1;
  if (const HWND sg = SgWindowHandle()) ShowWindow(sg, SW_SHOW);
}

void ToggleVectorscopeWindow(HWND mainWindow) {
  ToggleStoppableView(mainWindow, Settings.vswindowstop, SwitchVectorscopeView, kVectorscopeCommand);
}

void ToggleWaveformWindow(HWND mainWindow) {
  ToggleStoppableView(mainWindow, Settings.wavwindowstop, SwitchWaveformView, kWaveformCommand);
}

void ToggleSpectrogramUpdates() {
  if (SgControl.stopped == 0) {
    SgControl.stopped = 1;
  } else {
    SgControl.stopped = 0;
    StartViewThread(ViewKind::Spectrogram);
  }
  SetMark(SystemMenu, kSpectrogramStopped, SgControl.stopped == 1);
}
