// The program's real main window in the test process: its window procedure, creation (status
// display, source file, FFT window, playback and view threads) and debug menu, on the in-memory
// display and the virtual-clock sound device, with a WAV file in a temporary directory as the
// source. Tests send it what the platform would (system commands, popup commands, characters,
// timers) and look at the settings, the flags and the menus' marks.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <new>
#include <string>

#include "analysis/fft_graph_flags.h"
#include "analysis/fft_thread.h"
#include "analysis/window_function.h"
#include "app/debug_menu.h"
#include "app/debug_text_window.h"
#include "app/keys.h"
#include "app/main_window.h"
#include "app/menu_state.h"
#include "app/settings.h"
#include "app/startup.h"
#include "audio/playback.h"
#include "audio/sample_store.h"
#include "audio/transport_reset.h"
#include "audio/view_threads.h"
#include "platform/display/display_backend.h"
#include "platform/display/memory_display.h"
#include "platform/wave/device_selection.h"
#include "platform/wave/virtual_clock.h"
#include "platform/win32.h"
#include "spectrogram/sg_control.h"
#include "support/byte_pattern.h"
#include "support/temp_dir.h"
#include "support/wav_bytes.h"
#include "views/vectorscope_window.h"

namespace main_window_rig {

using test_support::Bytes;

using test_support::Pattern;
using test_support::Slice;

// 8-bit mono at 8000 Hz: 8000 bytes a second.
inline test_support::FmtFields Mono8k() {
  test_support::FmtFields format;
  format.channels = 1;
  format.bits = 8;
  format.rate = 8000;
  return format;
}

// The display every window of the test process uses; menus choose what a test queued.
inline morvex::display::MemoryDisplay& Display() {
  static auto* display = [] {
    auto* memory = new morvex::display::MemoryDisplay;
    morvex::display::InstallBackend(memory);
    return memory;
  }();
  return *display;
}

// What the program's records hold at process start, as far as the commands touch them.
inline void ResetProgramState() {
  Settings.~SettingsRecord();
  new (&Settings) SettingsRecord();
  Settings.processprioritylowonstartup = 0;  // the test process keeps its priority
  SettingsPath[0] = '\0';                    // nothing is saved unless a test asks for it
  audio_test::ResetTransport();
  KeyboardShortcutsEnabled = 0;
  MenuOpen = 0;
  HighPriorityMode = 0;
  MainWindowHidden = 0;
  FftLogAxis = 1;
  FftLevelAxis = 0;
  FftOnePointPerColumn = 1;
  FftUpdatesStopped = 0;
  FftStatsMode = 0;
  FftWideStats = 0;
  FftStatsOff = 0;
  FftPositionDisplay = 0;
  FftSleepNone = 0;
  FftStopRequest = 0;
  FftPriorityLevel = 0;
  SgPriorityLevel = 0;
  SgWindowShown = 1;
  SgControl.stopped = 0;
  SgControl.paused = 0;
  SgControl.waitStats = 0;
  SgControl.rescaleRequest = 0;
  VsParamsChanged = 0;
  VsLineMode = 1;
  VsShowWaits = 0;
  WindowRebuild = 0;
}

// Marks of the debug menu (or of another menu).
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

  // Writes the source, creates the main window as start-up does (its creation opens the source
  // and starts playing) and hangs the debug menu on it. Settings a test wants at start-up are
  // set before.
  void Start(const Bytes& samples, const test_support::FmtFields& format = Mono8k()) {
    samples_ = samples;
    const std::string path = dir_.Write("source.wav", test_support::CanonicalWav(format, samples));
    std::snprintf(SampleStore.WavFileName, sizeof SampleStore.WavFileName, "%s", path.c_str());
    static const bool registered = RegisterMainWindowClass(nullptr);
    ASSERT_TRUE(registered);
    hwnd_ = CreateWindowExA(0, kMainWindowClass, "morvex", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr,
                            nullptr, nullptr);
    ASSERT_NE(hwnd_, nullptr);
    MainWindow = hwnd_;
    BuildDebugMenu(hwnd_);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    Pump();
  }
  void Start() { Start(Pattern(400000)); }

  static void Pump() { audio_test::Pump(); }

  // What the platform delivers for a choice in the debug menu, a popup, or a key.
  void SystemCommand(UINT id) {
    PostMessageA(hwnd_, WM_SYSCOMMAND, id, 0);
    Pump();
  }
  void PopupCommand(UINT id) {
    PostMessageA(hwnd_, WM_COMMAND, id, 0);
    Pump();
  }
  // A typed key (key data 1, as the platform's translation gives it).
  void Type(char key) {
    PostMessageA(hwnd_, WM_CHAR, static_cast<unsigned char>(key), 1);
    Pump();
  }
  void Posted(char key) {
    PostMessageA(hwnd_, WM_CHAR, static_cast<unsigned char>(key), ShortcutMarker);
    Pump();
  }

  // Lets the virtual clock run in steps of at most a second, handling the messages of each.
  void Run(int64_t ms) {
    for (int64_t done = 0; done < ms; done += 1000) {
      clock_.Advance(std::chrono::milliseconds(std::min<int64_t>(1000, ms - done)));
      Pump();
    }
  }
  // Runs the message loop in real time until `done` holds, at most for two seconds.
  template <typename Condition>
  bool RunUntil(Condition done) {
    for (int i = 0; i < 200 && !done(); ++i) {
      Pump();
      Sleep(10);
    }
    Pump();
    return done();
  }

  size_t DevicesOpened() const { return clock_.OutputStreamCount(); }
  Bytes Heard(size_t index) const { return clock_.Heard(index); }

  morvex::wave::VirtualClock clock_;
  test_support::TempDir dir_;
  Bytes samples_;
  HWND hwnd_ = nullptr;
};

}  // namespace main_window_rig
