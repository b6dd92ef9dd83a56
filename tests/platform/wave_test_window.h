// A real window and message loop for the wave device tests: device messages reach the
// window's procedure through the queue, as they reach the program's main window. Also the
// buffers and formats those tests hand to the devices.
#pragma once

#include <chrono>
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
    hwnd_ = registered ? CreateWindowExA(0, "wave test", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                         nullptr, nullptr)
                       : nullptr;
    journal_ = &handled_;
  }
  ~WaveTestWindow() {
    Pump();
    DestroyWindow(hwnd_);
    journal_ = nullptr;
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

  // Runs the message loop until the device message `message` has been handled or `timeout`
  // has passed; returns the device messages handled meanwhile.
  std::vector<DeviceMessage> RunUntil(UINT message, std::chrono::milliseconds timeout) {
    constexpr UINT_PTR kWatchdog = 0x5741;
    SetTimer(hwnd_, kWatchdog, static_cast<UINT>(timeout.count()), nullptr);
    MSG msg;
    while ((handled_.empty() || handled_.back().message != message) && GetMessageA(&msg, nullptr, 0, 0)) {
      if (msg.message == WM_TIMER && msg.hwnd == hwnd_ && msg.wParam == kWatchdog) break;
      DispatchMessageA(&msg);
    }
    KillTimer(hwnd_, kWatchdog);
    return std::exchange(handled_, {});
  }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg < MM_WOM_OPEN || msg > MM_WIM_DATA) return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (journal_) journal_->push_back({msg, wParam, lParam, GetCurrentThreadId()});
    return 0;
  }

  static inline std::vector<DeviceMessage>* journal_ = nullptr;
  std::vector<DeviceMessage> handled_;
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
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = channels;
  format.nSamplesPerSec = rate;
  format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
  format.nAvgBytesPerSec = rate * format.nBlockAlign;
  format.wBitsPerSample = bits;
  return format;
}

}  // namespace morvex::wave::testing
