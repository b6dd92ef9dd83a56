#include "app/system_commands.h"

#include <iterator>

#include "analysis/fft_graph_flags.h"
#include "analysis/fft_thread.h"
#include "analysis/window_function.h"
#include "app/flag_toggle.h"
#include "app/menu_state.h"
#include "app/repaint_commands.h"
#include "app/spectrum_text.h"
#include "app/thread_priorities.h"
#include "app/view_windows.h"
#include "audio/live_input.h"
#include "audio/playback.h"
#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/sg_control.h"
#include "shared/shortcut_marker.h"
#include "shared/spectrum_frame.h"
#include "views/vectorscope_window.h"

namespace {

constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 125;
constexpr UINT kDecimatedDoubleSpeed = 112;
constexpr UINT kBlockDoubleSpeed = 118;
constexpr UINT kPitchHalf = 114;
constexpr UINT kPitchRepaintMs = 1000;

// Flags the debug menu toggles, with the mark showing them.
struct ToggleCommand {
  UINT id;
  std::atomic<int32_t>* flag;
  int32_t checkedValue;    // the value the check mark stands for
  bool clearsSpectrogram;  // switching on starts the spectrogram's picture afresh
};

const ToggleCommand kToggles[] = {
    {19, &FftOnePointPerColumn, 1, false},
    {49, &Settings.sggraphreturn, 1, false},
    {51, &Settings.sgspectnowait, 0, false},
    {52, &Settings.sgspectmanydraw, 1, false},
    {56, &Settings.sgliner, 1, true},
    {57, &Settings.sgcolor, 1, true},
    {73, &VsLineMode, 1, false},
    {82, &Settings.wavgphffts, 1, false},
    {89, &Settings.sginterpolate, 1, false},
    {90, &Settings.sgunderline, 1, false},
    {91, &Settings.sgmousecurhzdis, 1, false},
    {96, &Settings.fftgraphmodelight, 1, false},
    {103, &Settings.pinknoizeflatingfilter, 1, false},
    {115, &speedHalf, 1, false},
    {kDecimatedDoubleSpeed, &speedDoubleDecimate, 1, false},
    {kBlockDoubleSpeed, &speedDoubleBlocks, 1, false},
};

void MarkOneOf(std::initializer_list<UINT> ids, UINT checked) {
  for (const UINT id : ids) SetMark(SystemMenu, id, id == checked);
}

void ApplyRadio(Radio group, const RadioItem& item) {
  switch (group) {
    case Radio::WindowFunction:
      Settings.wfkind = static_cast<char>(item.value);
      WindowRebuild = 1;
      break;
    case Radio::FftPause:
      FftSleepNone = item.id == 87 ? 1 : 0;
      Settings.fftwindowsleeptime = item.value;
      break;
    case Radio::FftLength:
      // Comes into force at the next playback start.
      Settings.fftsampleRequested = item.value;
      break;
    case Radio::FftMagnification:
      Settings.fftgraphmagnified = item.value;
      FftRelayout = 1;
      break;
    case Radio::FftPriority:
      ChooseFftThreadPriority(item.id);  // moves the mark only when the change is made
      return;
    case Radio::SgMagnification:
      Settings.sggraphmagnified = item.value;
      SgControl.rescaleRequest = 1;
      break;
    case Radio::VsSamples:
      Settings.vecscpsample = item.value;
      VsParamsChanged = 1;
      break;
    case Radio::WavPause:
      Settings.wavwindowsleeptime = item.value;
      break;
  }
  ChooseRadioItem(group, item.id);
}

void ApplyToggle(const ToggleCommand& toggle) {
  const int32_t value = Toggle(*toggle.flag);
  SetMark(SystemMenu, toggle.id, value == toggle.checkedValue);
  if (toggle.clearsSpectrogram && value == 1) SgControl.clearRequest = 1;
  // The two double-speed modes exclude each other in the main popup.
  if (toggle.id == kDecimatedDoubleSpeed) SetGrey(MainPopup, kBlockDoubleSpeed, value == 1);
  if (toggle.id == kBlockDoubleSpeed) SetGrey(MainPopup, kDecimatedDoubleSpeed, value == 1);
}

void SelectZeroFill(UINT id, int32_t factor) {
  Settings.zerofill = factor;
  SamplesPerFrame = Settings.fftsample / factor;
  WindowRebuild = 1;
  SgControl.clearRequest = 1;
  MarkOneOf({61, 62, 63}, id);
}

void TogglePitchHalf(HWND mainWindow) {
  const int32_t on = Toggle(pitchHalf);
  SetTimer(mainWindow, kRepaintTimer, kPitchRepaintMs, nullptr);
  SetPriorityClass(GetCurrentProcess(), on == 1 ? IDLE_PRIORITY_CLASS : NORMAL_PRIORITY_CLASS);
  SetMark(SystemMenu, kPitchHalf, on == 1);
}

bool OnOtherCommand(HWND mainWindow, UINT id) {
  switch (id) {
    case 11:
    case 12:
      SelectFftFrequencyAxis(id == 11 ? 1 : 0);
      MarkOneOf({11, 12}, id);
      return true;
    case 53:
      ToggleSpectrogramUpdates();
      return true;
    case 54:
      ToggleFftUpdatesStopped();
      SetMark(SystemMenu, 54, FftUpdatesStopped == 1);
      return true;
    case 59:
    case 60:
      ChooseSgThreadPriority(id);
      return true;
    case 61: SelectZeroFill(id, 1); return true;
    case 62: SelectZeroFill(id, 2); return true;
    case 63: SelectZeroFill(id, 4); return true;
    case 64:
      ToggleSpectrogramWindow();
      return true;
    case 65:
      // A one-channel file has no vectorscope: the item is grey and a passed-on command does
      // nothing. Live input records one channel, but the window of a two-channel file stays.
      if (SampleStore.fileChannels == 2) ToggleVectorscopeWindow(mainWindow);
      return true;
    case 76:
      ToggleWaveformWindow(mainWindow);
      return true;
    case 83: Settings.sggraphtype = 0; MarkOneOf({83, 84, 102}, id); return true;
    case 84: Settings.sggraphtype = 1; MarkOneOf({83, 84, 102}, id); return true;
    case 102: Settings.sggraphtype = 2; MarkOneOf({83, 84, 102}, id); return true;
    case 85:
      PostMessageA(mainWindow, WM_CHAR, 'h', ShortcutMarker);
      return true;
    case 86:
      PostMessageA(mainWindow, WM_CHAR, 'g', ShortcutMarker);
      return true;
    case 101:
      SgControl.clearRequest = 1;
      return true;
    case 104:
      // Zero-fill is the only interpolation kind: it stays chosen.
      SetMark(SystemMenu, 104, true);
      return true;
    case 107:
      StartInput(mainWindow);
      return true;
    case 108:
      StopInput();
      return true;
    case 110:
    case 111:
      Settings.fftradix4flag = id == 111 ? 1 : 0;
      return true;
    case 113:
      ShowSpectrumAsText();
      return true;
    case kPitchHalf:
      TogglePitchHalf(mainWindow);
      return true;
    case 116:
      ToggleSlowRepaint(mainWindow);
      return true;
    default:
      return false;
  }
}

}  // namespace

bool OnSystemCommand(HWND mainWindow, WPARAM command) {
  if (command < kFirstCommand || command > kLastCommand) return false;
  const auto id = static_cast<UINT>(command);
  Radio group;
  if (const RadioItem* item = FindRadioItem(id, &group)) {
    ApplyRadio(group, *item);
    return true;
  }
  for (const ToggleCommand& toggle : kToggles) {
    if (toggle.id != id) continue;
    ApplyToggle(toggle);
    return true;
  }
  return OnOtherCommand(mainWindow, id);
}
