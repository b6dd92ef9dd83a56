// The engine on the virtual clock: a window passing it the device messages, and a WAV file source.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "shared/settings.h"
#include "audio/live_input.h"
#include "audio/playback.h"
#include "shared/sample_store.h"
#include "audio/source_file.h"
#include "platform/wave/device_selection.h"
#include "platform/wave/virtual_clock.h"
#include "platform/win32.h"
#include "support/temp_dir.h"
#include "support/byte_pattern.h"
#include "support/wav_bytes.h"
#include "transport_reset.h"

namespace playback_rig {

using test_support::Bytes;

// The device messages the window received, in order.
inline std::vector<UINT> messages;

inline LRESULT CALLBACK RigProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto device = reinterpret_cast<HWAVEOUT>(wParam);
  switch (msg) {
    case MM_WOM_OPEN: OnDeviceOpened(device); break;
    case MM_WOM_DONE: OnBufferDone(device, reinterpret_cast<WAVEHDR*>(lParam)); break;
    case MM_WOM_CLOSE: OnDeviceClosed(device); break;
    case MM_WIM_OPEN: OnInputOpened(reinterpret_cast<HWAVEIN>(wParam)); break;
    case MM_WIM_DATA: OnInputData(reinterpret_cast<HWAVEIN>(wParam), reinterpret_cast<WAVEHDR*>(lParam)); break;
    case MM_WIM_CLOSE: OnInputClosed(reinterpret_cast<HWAVEIN>(wParam)); break;
    case WM_TIMER: if (wParam == kRepaintTimer) KillTimer(hwnd, kRepaintTimer); return 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  messages.push_back(msg);
  return 0;
}

inline test_support::FmtFields Mono(uint16_t bits, uint32_t rate) { return {1, 1, rate, bits}; }

using audio_test::ResetTransport;
using test_support::Pattern;
using test_support::Slice;

class PlaybackRig : public testing::Test {
 protected:
  void SetUp() override {
    static const bool registered = [] {
      WNDCLASSA cls{};
      cls.lpfnWndProc = RigProc;
      cls.lpszClassName = "playback rig";
      return RegisterClassA(&cls) != 0;
    }();
    ASSERT_TRUE(registered);
    hwnd_ = CreateWindowExA(0, "playback rig", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                            nullptr);
    ResetTransport();
    messages.clear();
    morvex::wave::UseVirtualClockDevices(&clock_);
  }
  void TearDown() override {
    StopPlaybackAtDestruction();
    Pump();
    DestroyWindow(hwnd_);
    if (SampleStore.file != nullptr) std::fclose(SampleStore.file), SampleStore.file = nullptr;
    ResetTransport();
    morvex::wave::UseSystemDevices();
  }
  void OpenSource(const test_support::FmtFields& format, const Bytes& samples) {
    const std::string path = dir_.Write("source.wav", test_support::CanonicalWav(format, samples));
    std::snprintf(SampleStore.WavFileName, sizeof SampleStore.WavFileName, "%s", path.c_str());
    OpenSourceFile(nullptr, 0);
  }
  // 8-bit mono at 8000 Hz: 8 bytes a millisecond, 16 seconds a play buffer.
  void OpenSource(const Bytes& samples) { OpenSource(Mono(8, 8000), samples); }
  void Start() {
    StartPlaybackAtCreation(hwnd_, &settings_);
    Pump();
  }
  static void Pump() { audio_test::Pump(); }
  // Lets the clock run in steps of at most `stepMs`, handling the messages of each step.
  void Run(int64_t ms, int64_t stepMs = 1000) {
    for (int64_t done = 0; done < ms; done += stepMs) {
      clock_.Advance(std::chrono::milliseconds(std::min(stepMs, ms - done)));
      Pump();
    }
  }
  // Bytes heard so far from the `index`-th device the engine opened.
  Bytes Heard(size_t index) const { return clock_.Heard(index); }
  size_t DevicesOpened() const { return clock_.OutputStreamCount(); }
  morvex::wave::VirtualClock clock_;
  test_support::TempDir dir_;
  SettingsRecord settings_;
  HWND hwnd_ = nullptr;
};

}  // namespace playback_rig
