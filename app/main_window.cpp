#include "app/main_window.h"

#include "analysis/fft_window.h"
#include "shared/spectrum_frame.h"
#include "app/debug_menu.h"
#include "app/keys.h"
#include "app/main_popup.h"
#include "app/main_timers.h"
#include "app/main_window_geometry.h"
#include "app/menu_state.h"
#include "app/popup_commands.h"
#include "app/settings_file.h"
#include "app/startup.h"
#include "app/system_commands.h"
#include "app/view_thread_kinds.h"
#include "audio/live_input.h"
#include "audio/main_display.h"
#include "audio/playback.h"
#include "audio/playback_device.h"
#include "shared/sample_store.h"
#include "audio/source_file.h"
#include "shared/view_threads.h"
#include "spectrogram/sg_surfaces.h"
#include "spectrogram/sg_window.h"
#include "platform/win32.h"
#include "views/vectorscope_window.h"
#include "views/waveform_window.h"

namespace {

constexpr UINT kStartupIdleMs = 3000;
// How long destruction waits for the FFT thread to notice the stop before it frees the FFT
// window's surfaces: one cycle and the longest pause of the menus. The other views' threads
// notice it within one of their pictures.
constexpr DWORD kFftThreadEndWaitMs = 1000;
constexpr DWORD kViewThreadEndWaitMs = 1000;

// The program's records, as the FFT view reads them.
FftViewSources FftSources() {
  FftViewSources sources;
  sources.settings = &Settings;
  sources.store = &SampleStore;
  sources.playflag = &playflag;
  sources.inputRunning = &inputRunning;
  sources.buff = &buff;
  sources.devicePosition = PlaybackDevicePosition;
  sources.playPosition = [](int32_t ahead) { return ComputePlayPosition(ahead); };
  return sources;
}

// Creation, in order: the right-click popup, the status display, the file, the view windows, the view threads
// plugged in, playback starting them, and (for a quiet start) idle priority until timer 4 puts it back.
LRESULT OnCreate(HWND hwnd) {
  BuildMainPopup();
  CreateMainDisplay(hwnd, Settings);
  OpenSourceFile(hwnd, Settings.downrateforfft);
  CreateFftWindow(hwnd, TextFont, StartShowMode, FftSources());
  CreateSgWindow(hwnd, StartShowMode);
  CreateWaveformWindow(hwnd);
  if (SampleStore.fileChannels == 2) CreateVectorscopeWindow(hwnd);
  if (const HWND sg = SgWindowHandle()) CreateSgSurfaces(sg, TextFont);
  PlugInViewThreads();
  StartPlaybackAtCreation(hwnd, &Settings);
  if (Settings.processprioritylowonstartup == 1) EnterIdlePriorityFor(hwnd, kStartupIdleMs);
  return 0;
}

void OnDestroy() {
  StopPlaybackAtDestruction();
  StopInputAtDestruction();
  if (SettingsPath[0] != '\0') SaveSettings(Settings, SettingsPath, GatherLiveGeometry());
  if (WaitForViewThreadEnd(ViewKind::Fft, kFftThreadEndWaitMs)) DestroyFftWindow();
  if (WaitForViewThreadEnd(ViewKind::Spectrogram, kViewThreadEndWaitMs)) {
    DestroySgSurfaces();
    DestroySgWindow();
  }
  if (WaitForViewThreadEnd(ViewKind::Vectorscope, kViewThreadEndWaitMs)) DestroyVectorscopeWindow();
  if (WaitForViewThreadEnd(ViewKind::Waveform, kViewThreadEndWaitMs)) DestroyWaveformWindow();
  DestroyMainDisplay();
  PostQuitMessage(0);
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSA cls{};
  cls.style = CS_HREDRAW | CS_VREDRAW;
  cls.lpfnWndProc = MainWindowProc;
  cls.hInstance = instance;
  cls.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(Settings.iconselectinini == 101 ? 101 : 102));
  cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  cls.lpszClassName = kMainWindowClass;
  return RegisterClassA(&cls) != 0;
}

HWND OpenMainWindow(HINSTANCE instance, int showCmd) {
  SamplesPerFrame = Settings.fftsample / Settings.zerofill;
  StartShowMode = showCmd;
  MainWindow = CreateWindowExA(0, kMainWindowClass, "morvex", WS_OVERLAPPEDWINDOW, Settings.mainwindowpx,
                               Settings.mainwindowpy, Settings.mainwindowwidth, Settings.mainwindowheight, nullptr,
                               nullptr, instance, nullptr);
  if (!MainWindow) return nullptr;
  BuildDebugMenu(MainWindow);
  ShowWindow(MainWindow, StartShowMode);
  return MainWindow;
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      return OnCreate(hwnd);
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_TIMER:
      OnMainTimer(hwnd, wParam);
      return 0;
    case WM_CHAR:
      OnMainCharacter(hwnd, wParam, lParam);
      return 0;
    case WM_SYSCOMMAND:
      if (OnSystemCommand(hwnd, wParam)) return 0;
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_COMMAND:
      if (OnPopupCommand(hwnd, LOWORD(wParam))) return 0;
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_RBUTTONUP:
      ShowMainPopup(hwnd, static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
      return 0;
    case WM_INITMENUPOPUP:
      MenuOpen = 1;
      return 0;
    case WM_UNINITMENUPOPUP:
      MenuOpen = 0;
      return 0;
    case WM_ACTIVATEAPP:
      if (wParam) SetForegroundWindow(hwnd);
      return 0;
    case MM_WOM_OPEN:
      OnDeviceOpened(reinterpret_cast<HWAVEOUT>(wParam));
      return 0;
    case MM_WOM_DONE:
      OnBufferDone(reinterpret_cast<HWAVEOUT>(wParam), reinterpret_cast<WAVEHDR*>(lParam));
      return 0;
    case MM_WOM_CLOSE:
      OnDeviceClosed(reinterpret_cast<HWAVEOUT>(wParam));
      return 0;
    case MM_WIM_OPEN:
      OnInputOpened(reinterpret_cast<HWAVEIN>(wParam));
      return 0;
    case MM_WIM_DATA:
      OnInputData(reinterpret_cast<HWAVEIN>(wParam), reinterpret_cast<WAVEHDR*>(lParam));
      return 0;
    case MM_WIM_CLOSE:
      OnInputClosed(reinterpret_cast<HWAVEIN>(wParam));
      return 0;
    case WM_CLOSE:
      playflag = 0;
      if (const HWND fft = FftWindowHandle()) PostMessageA(fft, WM_CLOSE, 0, 0);
      if (const HWND sg = SgWindowHandle()) PostMessageA(sg, WM_CLOSE, 0, 0);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}
