#include "app/view_windows.h"

#include "app/main_timers.h"
#include "app/menu_state.h"
#include "app/settings.h"
#include "spectrogram/sg_control.h"

namespace {

constexpr UINT kSpectrogramShown = 64;
constexpr UINT kVectorscopeShown = 65;
constexpr UINT kWaveformShown = 76;
constexpr UINT kSpectrogramStopped = 53;
constexpr UINT kViewStartIdleMs = 1000;

HWND windows[kViewKindCount] = {};

void ShowView(ViewKind kind, bool shown) {
  if (const HWND hwnd = ViewWindow(kind)) ShowWindow(hwnd, shown ? SW_SHOW : SW_HIDE);
}

// `stop` is the view's setting: 1 while the window is hidden and its thread is not to run.
void ToggleStoppableView(HWND mainWindow, ViewKind kind, std::atomic<int32_t>& stop, UINT command) {
  if (stop == 0) {
    SetMark(SystemMenu, command, false);
    stop = 1;
    ShowView(kind, false);
    return;
  }
  stop = 0;
  SetMark(SystemMenu, command, true);
  StartViewThread(kind);
  ShowView(kind, true);
  EnterIdlePriorityFor(mainWindow, kViewStartIdleMs);
}

}  // namespace

void SetViewWindow(ViewKind kind, HWND hwnd) { windows[static_cast<int32_t>(kind)] = hwnd; }

HWND ViewWindow(ViewKind kind) { return windows[static_cast<int32_t>(kind)]; }

void ToggleSpectrogramWindow() {
  if (SgWindowShown == 1) {
    SetMark(SystemMenu, kSpectrogramShown, false);
    SgControl.stopped = 1;
    SgWindowShown = 0;
    ShowView(ViewKind::Spectrogram, false);
    return;
  }
  SgControl.stopped = 0;
  SetMark(SystemMenu, kSpectrogramShown, true);
  SgControl.clearRequest = 1;
  StartViewThread(ViewKind::Spectrogram);
  SgWindowShown = 1;
  ShowView(ViewKind::Spectrogram, true);
}

void ToggleVectorscopeWindow(HWND mainWindow) {
  ToggleStoppableView(mainWindow, ViewKind::Vectorscope, Settings.vswindowstop, kVectorscopeShown);
}

void ToggleWaveformWindow(HWND mainWindow) {
  ToggleStoppableView(mainWindow, ViewKind::Waveform, Settings.wavwindowstop, kWaveformShown);
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
