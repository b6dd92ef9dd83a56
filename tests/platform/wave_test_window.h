// A real window and message loop for the wave device tests: device messages reach the
// window's procedure through the queue, as they reach the program's main window. Also the
// buffers and formats those tests hand to the devices.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <utility>
#include <vector>

#include "platform/win32.h"

namespace morvex::wave::testing {

struct DeviceMessage {
  UINT message;
  WPARAM device;
  LPARAM param;
  DWORD thread;  // the thread whose window procedure received it

  WAVEHDR* Header() const { return reinterpret_cast<WAVEHDR*>(param); }
};

class WaveTestWindow {
 public:
  WaveTestWindow() {
    static const bool registered = [] {
      WNDCLASSA cls{};
      cls.lpfnWndProc = Proc;
      cls.lpszClassName = "wave test";
      return RegisterClassA(&cls) != 0;
    }();
    EXPECT_TRUE(registered);
    hwnd_ = CreateWindowExA(0, "wave test", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  }
  ~WaveTestWindow() {
    Pump();
    DestroyWindow(hwnd_);
  }
  WaveTestWindow(const WaveTestWindow&) = delete;
  WaveTestWindow& operator=(const WaveTestWindow&) = delete;

  DWORD_PTR Callback() const { return reinterpret_cast<DWORD_PTR>(hwnd_); }

  // Handles every queued message as the message loop would; returns the device messages
  // handled since the last call.
  std::vector<DeviceMessage> Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    return std::exchange(handled_, {});
  }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg < MM_WOM_OPEN || msg > MM_WIM_DATA) return DefWindowProcA(hwnd, msg, wParam, lParam);
    handled_.push_back({msg, wParam, lParam, GetCurrentThreadId()});
    return 0;
  }

  static inline std::vector<DeviceMessage> handled_;  // one test window at a time
  HWND hwnd_ = nullptr;
};

// Message ids only, for comparing sequences.
inline std::vector<UINT> Ids(const std::vector<DeviceMessage>& messages) {
  std::vector<UINT> ids;
  for (const DeviceMessage& m : messages) ids.push_back(m.message);
  return ids;
}

inline std::vector<uint8_t> Joined(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Bytes counting up from `first`, so that what was heard or recorded shows where it came from.
inline std::vector<uint8_t> Counting(size_t count, uint8_t first) {
  std::vector<uint8_t> bytes(count);
  std::iota(bytes.begin(), bytes.end(), first);
  return bytes;
}

// Bytes and the header that lends them to a device; stays where it was made.
struct WaveBuffer {
  explicit WaveBuffer(std::vector<uint8_t> bytes) : data(std::move(bytes)) {
    header.lpData = reinterpret_cast<LPSTR>(data.data());
    header.dwBufferLength = static_cast<DWORD>(data.size());
  }
  WaveBuffer(const WaveBuffer&) = delete;
  WaveBuffer& operator=(const WaveBuffer&) = delete;
  LPARAM Param() { return reinterpret_cast<LPARAM>(&header); }
  std::vector<uint8_t> Recorded() const {
    return {data.begin(), data.begin() + static_cast<std::ptrdiff_t>(header.dwBytesRecorded)};
  }
  std::vector<uint8_t> data;
  WAVEHDR header{};
};

inline WAVEFORMATEX PcmFormatOf(DWORD rate, WORD channels, WORD bits) {
  const WORD block = static_cast<WORD>(channels * bits / 8);
  return {WAVE_FORMAT_PCM, channels, rate, rate * block, block, bits, 0};
}

}  // namespace morvex::wave::testing
