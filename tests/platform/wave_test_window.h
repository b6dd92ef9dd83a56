// A recorded window for device messages, and the buffers and formats handed to the devices.
#pragma once

#include <cstdint>
#include <numeric>
#include <utility>
#include <vector>

#include "tests/platform/recording_window.h"

namespace morvex::wave::testing {

using morvex::testing::Received;

class WaveTestWindow {
 public:
  WaveTestWindow() : hwnd_(morvex::testing::CreateRecorded("wave test", 0, 0, 100, 100)) {}
  ~WaveTestWindow() {
    Pump();
    DestroyWindow(hwnd_);
  }
  WaveTestWindow(const WaveTestWindow&) = delete;
  WaveTestWindow& operator=(const WaveTestWindow&) = delete;

  DWORD_PTR Callback() const { return reinterpret_cast<DWORD_PTR>(hwnd_); }

  // Handles what is queued, as the message loop would; returns the device messages since the last call.
  std::vector<Received> Pump() {
    morvex::testing::Pump();
    std::vector<Received> handled;
    for (const Received& r : morvex::testing::received) {
      if (r.msg >= MM_WOM_OPEN && r.msg <= MM_WIM_DATA) handled.push_back(r);
    }
    morvex::testing::received.clear();
    return handled;
  }

 private:
  HWND hwnd_;
};

// Message ids only, for comparing sequences.
inline std::vector<UINT> Ids(const std::vector<Received>& messages) {
  std::vector<UINT> ids;
  for (const Received& m : messages) ids.push_back(m.msg);
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
