// The FFT view as the main window creates it, for the window and thread tests: test records
// handed over as the program's own, a main window that only collects what is posted to it, and
// the FFT window created on top.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <ostream>
#include <vector>

#include "analysis/fft_graph_flags.h"
#include "analysis/fft_thread.h"
#include "analysis/fft_window.h"
#include "spectrogram/sg_control.h"

namespace fftview {

inline SettingsRecord settings;
inline SampleStoreRecord store;
inline std::atomic<int32_t> playing{0};
inline std::atomic<int32_t> inputOn{0};
inline std::atomic<int32_t> buffers{0};
// What the device position reports; the frames heard are always at the start of buffer A.
inline std::atomic<int32_t> devicePosition{0};

inline constexpr const char* kMainClass = "fft view test main";

struct Posted {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Posted&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Posted& p) {
  return out << "{" << p.message << ", " << p.wParam << ", " << p.lParam << "}";
}

inline void UseFormat(int rate, int channels, int bits) {
  const auto align = static_cast<WORD>(channels * bits / 8);
  store.format = WAVEFORMATEX{WAVE_FORMAT_PCM, static_cast<WORD>(channels), static_cast<DWORD>(rate),
                              static_cast<DWORD>(rate * align), align, static_cast<WORD>(bits), 0};
  store.fileRate = rate;
  store.analysisRate = rate;
  store.blockAlign = align;
  store.fullScale = 1 << bits;
}

class FftViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool registered = [] {
      WNDCLASSA cls{};
      cls.lpfnWndProc = DefWindowProcA;
      cls.lpszClassName = kMainClass;
      return RegisterClassA(&cls) != 0;
    }();
    ASSERT_TRUE(registered);
    settings.~SettingsRecord();
    new (&settings) SettingsRecord();
    UseFormat(44100, 2, 16);
    playing = 0;
    inputOn = 0;
    buffers = 0;
    devicePosition = 0;
    FftRelayout = 1;
    FftLogAxis = 1;
    FftLevelAxis = 0;
    FftOnePointPerColumn = 1;
    FftUpdatesStopped = 0;
    FftStatsMode = 0;
    FftStatsOff = 0;
    FftWideStats = 0;
    FftStopRequest = 0;
    FftSleepNone = 0;
    FftPriorityLevel = 0;
    SgControl.clearRequest = 0;
    main = CreateWindowExA(0, kMainClass, "main", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr, nullptr,
                           nullptr);
    ASSERT_NE(main, nullptr);
  }

  void TearDown() override {
    DestroyFftWindow();
    DestroyWindow(main);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {}
  }

  HWND Create() {
    FftViewSources sources;
    sources.settings = &settings;
    sources.store = &store;
    sources.playflag = &playing;
    sources.inputRunning = &inputOn;
    sources.buff = &buffers;
    sources.devicePosition = [] { return devicePosition.load(); };
    sources.playPosition = [](int32_t) { return PlayPosition{kPlayBufferA, 0, true}; };
    fft = CreateFftWindow(main, nullptr, SW_SHOW, sources);
    Pump();
    TakePosted();
    return fft;
  }

  // Handles what the FFT window has queued for itself (paints included).
  void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, fft, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }

  // What reached the main window since the last look.
  std::vector<Posted> TakePosted() {
    std::vector<Posted> posted;
    MSG msg;
    while (PeekMessageA(&msg, main, 0, 0, PM_REMOVE)) posted.push_back({msg.message, msg.wParam, msg.lParam});
    return posted;
  }

  HWND main = nullptr;
  HWND fft = nullptr;
};

}  // namespace fftview
