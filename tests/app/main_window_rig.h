// The program's real main window in the test process on the in-memory display and the
// virtual-clock sound device, with a WAV file in a temporary directory as the source.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <set>
#include <string>

#include "analysis/fft_graph_flags.h"
#include "analysis/fft_thread.h"
#include "analysis/window_function.h"
#include "app/debug_menu.h"
#include "app/debug_text_window.h"
#include "app/keys.h"
#include "app/main_window.h"
#include "app/menu_state.h"
#include "app/settings_file.h"
#include "app/startup.h"
#include "audio/playback.h"
#include "audio/transport_reset.h"
#include "platform/display/display_backend.h"
#include "platform/display/memory_display.h"
#include "platform/wave/device_selection.h"
#include "platform/wave/virtual_clock.h"
#include "shared/sample_store.h"
#include "shared/sg_control.h"
#include "shared/shortcut_marker.h"
#include "support/byte_pattern.h"
#include "support/temp_dir.h"
#include "support/wav_bytes.h"
#include "views/vectorscope_window.h"

namespace main_window_rig {

using test_support::Bytes;
using test_support::Pattern;
using test_support::Slice;

// The display of every window in the test process; menus choose what a test queued.
inline morvex::display::MemoryDisplay& Display() {
  static auto* display = [] {
    auto* memory = new morvex::display::MemoryDisplay;
    morvex::display::InstallBackend(memory);
    return memory;
  }();
  return *display;
}

// The records the commands touch, as the process starts with them.
inline void ResetProgramState() {
  Settings.~SettingsRecord();
  new (&Settings) SettingsRecord();
  Settings.processprioritylowonstartup = 0;  // the test process keeps its priority
  SettingsPath[0] = '\0';                    // nothing is saved unless a test asks for it
  audio_test::ResetTransport();
  KeyboardShortcutsEnabled = MenuOpen = HighPriorityMode = MainWindowHidden = 0;
  FftLogAxis = FftOnePointPerColumn = 1;
  FftLevelAxis = FftUpdatesStopped = FftStatsMode = FftWideStats = FftStatsOff = FftPositionDisplay = 0;
  FftSleepNone = FftStopRequest = FftPriorityLevel = SgPriorityLevel = 0;
  SgWindowShown = 1;
  SgControl.stopped = SgControl.paused = SgControl.waitStats = SgControl.rescaleRequest = 0;
  VsParamsChanged = VsShowWaits = WindowRebuild = 0;
  VsLineMode = 1;
}

// The command ids below 200 that `menu` shows checked, and one item's marks.
inline std::set<UINT> CheckedItems(HMENU menu) {
  std::set<UINT> checked;
  for (UINT id = 1; id < 200; ++id) {
    if (const UINT state = GetMenuState(menu, id, MF_BYCOMMAND); state != ~0u && (state & MF_CHECKED)) {
      checked.insert(id);
    }
  }
  return checked;
}
inline bool Checked(UINT id, HMENU menu = SystemMenu) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
inline bool Grey(UINT id, HMENU menu = SystemMenu) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }

class MainWindowRig : public testing::Test {
 protected:
  void SetUp() override {
    Display();
    ResetProgramState();
    morvex::wave::UseVirtualClockDevices(&clock_);
  }
  void TearDown() override {
    if (DebugWindow) DestroyWindow(DebugWindow);
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    Pump();
    if (SampleStore.file != nullptr) std::fclose(SampleStore.file);
    SampleStore.file = nullptr;
    ResetProgramState();
    morvex::wave::UseSystemDevices();
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
  }

  // Start-up from the main window's creation (which opens the source and plays) to its showing;
  // by default 8-bit mono at 8000 Hz: 8000 bytes a second.
  void Start(const Bytes& samples = Pattern(400000),
             const test_support::FmtFields& format = {.channels = 1, .rate = 8000, .bits = 8}) {
    samples_ = samples;
    const std::string path = dir_.Write("source.wav", test_support::CanonicalWav(format, samples));
    std::snprintf(SampleStore.WavFileName, sizeof SampleStore.WavFileName, "%s", path.c_str());
    ASSERT_TRUE(MainClassRegistered());
    hwnd_ = MainWindow = CreateWindowExA(0, kMainWindowClass, "morvex", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400,
                                         nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd_, nullptr);
    BuildDebugMenu(hwnd_);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    Pump();
  }

  // The main window's class, registered once in the test process.
  static bool MainClassRegistered() {
    static const bool registered = RegisterMainWindowClass(nullptr);
    return registered;
  }
  static void Pump() { audio_test::Pump(); }
  // A right click on the main window choosing `id` in its popup (0: none).
  void RightClickChoosing(UINT id) {
    Display().queueMenuChoice(id);
    Post(WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
  }
  // A choice in the debug menu or the popup, or a posted key.
  void SystemCommand(UINT id) { Post(WM_SYSCOMMAND, id, 0); }
  void PopupCommand(UINT id) { Post(WM_COMMAND, id, 0); }
  void Posted(char key) { Post(WM_CHAR, static_cast<unsigned char>(key), ShortcutMarker); }
  void Post(UINT msg, WPARAM wParam, LPARAM lParam, HWND to = nullptr) {
    PostMessageA(to ? to : hwnd_, msg, wParam, lParam);
    Pump();
  }

  // The virtual clock run in steps of a second, the messages of each step handled.
  void Run(int64_t ms) {
    for (int64_t done = 0; done < ms; done += 1000) {
      clock_.Advance(std::chrono::milliseconds(std::min<int64_t>(1000, ms - done)));
      Pump();
    }
  }
  // The sound runs on in steps of 5 ms of the virtual clock, the messages handled, until `done`
  // holds (15 s at most, for a loaded machine).
  template <typename Condition>
  bool RunUntil(Condition done) {
    for (int i = 0; i < 1500 && !done(); ++i) {
      clock_.Advance(std::chrono::milliseconds(5));
      Pump();
      Sleep(10);
    }
    return done();
  }

  morvex::wave::VirtualClock clock_;
  test_support::TempDir dir_;
  Bytes samples_;
  HWND hwnd_ = nullptr;
};

}  // namespace main_window_rig
