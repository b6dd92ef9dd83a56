#include "app/keys.h"

#include "analysis/fft_graph_flags.h"
#include "analysis/fft_thread.h"
#include "app/flag_toggle.h"
#include "app/menu_state.h"
#include "app/settings_file.h"
#include "audio/level_meter.h"
#include "audio/main_display.h"
#include "audio/playback.h"
#include "shared/sg_control.h"
#include "shared/shortcut_marker.h"
#include "views/vectorscope_window.h"

std::atomic<int32_t> HighPriorityMode{0};
std::atomic<int32_t> MainWindowHidden{0};

namespace {

constexpr UINT kSlowRepaintMs = 1000;
constexpr UINT kFastRepaintMs = 10;

void SetRepaintInterval(HWND mainWindow, UINT periodMs) {
  SetTimer(mainWindow, kRepaintTimer, periodMs, nullptr);
  Settings.mainwindowinvailintervalvariable = static_cast<int32_t>(periodMs);
}

void ToggleMainWindowShown(HWND mainWindow) {
  const int32_t hidden = Toggle(MainWindowHidden);
  ShowWindow(mainWindow, hidden == 1 ? SW_HIDE : SW_SHOW);
  // The FFT graph then shows the position the hidden status display would.
  FftPositionDisplay = hidden;
}

void ToggleHighPriority() {
  const DWORD cls = HighPriorityMode == 0 ? HIGH_PRIORITY_CLASS : IDLE_PRIORITY_CLASS;
  if (SetPriorityClass(GetCurrentProcess(), cls)) Toggle(HighPriorityMode);
}

void ActOnKey(HWND mainWindow, char key) {
  switch (key) {
    case 's': Stop(); break;
    case 't': Pause(); break;
    case 'p': Play(); break;
    case 'g': SeekBack5s(); break;
    case 'h': SeekForward5s(); break;
    case 'b': DevicePause(); break;
    case 'n': DeviceRestart(); break;
    case 'i': InvalidateRect(mainWindow, nullptr, FALSE); break;
    case 'q': Toggle(statusText); break;
    case 'a': Toggle(levelHold); break;
    case 'x': Toggle(levelThreadOff); break;
    case 'j': Settings.levelmetertype = Settings.levelmetertype != 0 ? 0 : 1; break;
    case 'z':
      KillTimer(mainWindow, kRepaintTimer);
      SetRepaintInterval(mainWindow, kSlowRepaintMs);
      break;
    case '1': SetRepaintInterval(mainWindow, kFastRepaintMs); break;
    case 'y': KillTimer(mainWindow, kRepaintTimer); break;
    case '2':
      Toggle(Settings.mainwindowparafull);
      ClearMainOffscreen();
      break;
    case 'k': ToggleMainWindowShown(mainWindow); break;
    case 'e': ToggleHighPriority(); break;
    case 'c': Toggle(Settings.sgwindowlps); break;
    case 'u': Toggle(SgControl.paused); break;
    case 'f': Toggle(SgControl.waitStats); break;
    case 'v': Toggle(VsShowWaits); break;
    case 'w': Toggle(FftStatsMode); break;
    case '3': Toggle(FftWideStats); break;
    case 'r': ToggleFftStatsOff(); break;
    case 'o': FftStopRequest = 1; break;
    default: break;  // d and l do nothing, nor does any other character
  }
}

}  // namespace

void OnMainCharacter(HWND mainWindow, WPARAM character, LPARAM keyData) {
  if (MenuOpen == 1) {
    if (character == 'x') PostMessageA(mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    return;
  }
  if (character == '-') KeyboardShortcutsEnabled = 1;
  if (KeyboardShortcutsEnabled == 0 && keyData != ShortcutMarker) return;
  if (character > 0x7F) return;
  ActOnKey(mainWindow, static_cast<char>(character));
}
