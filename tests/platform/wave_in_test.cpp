// The wave-in device on the virtual clock, through a real window and message loop.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <vector>

#include "platform/wave/device_selection.h"
#include "platform/wave/virtual_clock.h"
#include "platform/win32.h"
#include "wave_test_window.h"

namespace morvex::wave {
namespace {

using std::chrono::milliseconds;
using testing::DeviceMessage;
using testing::Ids;

// The live input format: 16-bit mono at 44100 Hz; 10 ms are 441 frames, 882 bytes.
constexpr size_t kTenMs = 882;

using RecordBuffer = testing::WaveBuffer;
using testing::Counting;

class WaveInTest : public ::testing::Test {
 protected:
  void SetUp() override { UseVirtualClockDevices(&clock); }
  void TearDown() override {
    if (open) {
      waveInReset(hwi);
      EXPECT_EQ(waveInClose(hwi), MMSYSERR_NOERROR);
    }
    window.Pump();
    UseSystemDevices();
  }

  void Open(const WAVEFORMATEX& format = testing::PcmFormatOf(44100, 1, 16)) {
    ASSERT_EQ(waveInOpen(&hwi, WAVE_MAPPER, &format, window.Callback(), 0, CALLBACK_WINDOW),
              MMSYSERR_NOERROR);
    open = true;
  }
  // Buffers live until the device has been reset and closed.
  RecordBuffer& Add(size_t bytes = kTenMs) {
    RecordBuffer& buffer = buffers.emplace_back(std::vector<uint8_t>(bytes, 0xEE));
    EXPECT_EQ(waveInPrepareHeader(hwi, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInAddBuffer(hwi, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    return buffer;
  }
  void Start(int ms) {
    ASSERT_EQ(waveInStart(hwi), MMSYSERR_NOERROR);
    clock.Advance(milliseconds(ms));
  }
  MMRESULT Close() {
    MMRESULT result = waveInClose(hwi);
    if (result == MMSYSERR_NOERROR) open = false;
    return result;
  }
  static std::vector<LPARAM> DataHeaders(const std::vector<DeviceMessage>& messages) {
    std::vector<LPARAM> headers;
    for (const DeviceMessage& m : messages) {
      if (m.message == MM_WIM_DATA) headers.push_back(m.param);
    }
    return headers;
  }

  std::deque<RecordBuffer> buffers;
  VirtualClock clock;
  testing::WaveTestWindow window;
  HWAVEIN hwi = nullptr;
  bool open = false;
};

TEST_F(WaveInTest, EachFilledBufferComesBackWithWhatWasRecordedOnlyAfterStart) {
  Open();
  std::vector<DeviceMessage> opened = window.Pump();
  ASSERT_EQ(Ids(opened), std::vector<UINT>{MM_WIM_OPEN});
  EXPECT_EQ(opened[0].device, reinterpret_cast<WPARAM>(hwi));
  RecordBuffer& a = Add();
  RecordBuffer& b = Add();
  clock.Advance(milliseconds(50));
  EXPECT_TRUE(window.Pump().empty()) << "nothing is recorded before the start";
  std::vector<uint8_t> sound = Counting(2 * kTenMs, 1);
  clock.FeedInput(sound.data(), sound.size());

  Start(6);
  EXPECT_TRUE(window.Pump().empty()) << "a buffer comes back only when it is full";
  clock.Advance(milliseconds(4));
  std::vector<DeviceMessage> messages = window.Pump();
  ASSERT_EQ(DataHeaders(messages), std::vector<LPARAM>{a.Param()});
  EXPECT_EQ(messages[0].thread, GetCurrentThreadId());
  EXPECT_EQ(a.header.dwFlags, static_cast<DWORD>(WHDR_PREPARED | WHDR_DONE));
  EXPECT_EQ(a.Recorded(), std::vector<uint8_t>(sound.begin(), sound.begin() + kTenMs));
  clock.Advance(milliseconds(10));
  ASSERT_EQ(DataHeaders(window.Pump()), std::vector<LPARAM>{b.Param()});
  EXPECT_EQ(b.Recorded(), std::vector<uint8_t>(sound.begin() + kTenMs, sound.end()));
}

TEST_F(WaveInTest, SoundRecordedWhileNoBufferIsQueuedIsLost) {
  Open();
  std::vector<uint8_t> sound = Counting(2 * kTenMs, 0);
  clock.FeedInput(sound.data(), sound.size());
  Start(10);
  RecordBuffer& a = Add();
  clock.Advance(milliseconds(10));
  ASSERT_EQ(DataHeaders(window.Pump()), std::vector<LPARAM>{a.Param()});
  EXPECT_EQ(a.Recorded(), std::vector<uint8_t>(sound.begin() + kTenMs, sound.end()));
}

TEST_F(WaveInTest, SilenceIsRecordedWhenNoSoundArrives) {
  Open(testing::PcmFormatOf(8000, 1, 8));
  RecordBuffer& a = Add(80);
  Start(10);
  ASSERT_EQ(DataHeaders(window.Pump()), std::vector<LPARAM>{a.Param()});
  EXPECT_EQ(a.Recorded(), std::vector<uint8_t>(80, 0x80)) << "8-bit silence is 128";
}

// The live input's stop: each returned buffer tries the close; the device refuses it while the
// other buffer is still queued, so the second returned buffer closes it.
TEST_F(WaveInTest, CloseIsRefusedWhileARecordBufferIsQueued) {
  Open();
  RecordBuffer& a = Add();
  RecordBuffer& b = Add();
  Start(10);
  ASSERT_EQ(Ids(window.Pump()), (std::vector<UINT>{MM_WIM_OPEN, MM_WIM_DATA}));
  EXPECT_EQ(Close(), static_cast<MMRESULT>(WAVERR_STILLPLAYING));
  clock.Advance(milliseconds(10));
  ASSERT_EQ(DataHeaders(window.Pump()), std::vector<LPARAM>{b.Param()});
  EXPECT_EQ(Close(), MMSYSERR_NOERROR);
  std::vector<DeviceMessage> closed = window.Pump();
  ASSERT_EQ(Ids(closed), std::vector<UINT>{MM_WIM_CLOSE});
  EXPECT_EQ(closed[0].device, reinterpret_cast<WPARAM>(hwi));
  EXPECT_EQ(waveInUnprepareHeader(hwi, &a.header, sizeof(WAVEHDR)),
            static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
}

TEST_F(WaveInTest, ResetHandsBackEveryQueuedBufferInOrder) {
  Open();
  window.Pump();
  RecordBuffer& a = Add();
  RecordBuffer& b = Add();
  Start(5);
  ASSERT_EQ(waveInReset(hwi), MMSYSERR_NOERROR);
  EXPECT_EQ(DataHeaders(window.Pump()), (std::vector<LPARAM>{a.Param(), b.Param()}));
  EXPECT_EQ(a.header.dwBytesRecorded, 220u * 2) << "5 ms hold 220.5 frames";
  EXPECT_EQ(b.header.dwBytesRecorded, 0u);
  EXPECT_EQ(Close(), MMSYSERR_NOERROR);
}

TEST_F(WaveInTest, AddBufferFollowsTheHeaderRules) {
  Open();
  RecordBuffer& a = buffers.emplace_back(std::vector<uint8_t>(kTenMs));
  EXPECT_EQ(waveInAddBuffer(hwi, &a.header, sizeof(WAVEHDR)), static_cast<MMRESULT>(WAVERR_UNPREPARED));
  RecordBuffer& b = Add();
  EXPECT_EQ(waveInAddBuffer(hwi, &b.header, sizeof(WAVEHDR)), static_cast<MMRESULT>(WAVERR_STILLPLAYING));
  EXPECT_EQ(waveInUnprepareHeader(hwi, &b.header, sizeof(WAVEHDR)),
            static_cast<MMRESULT>(WAVERR_STILLPLAYING));
  EXPECT_EQ(waveInAddBuffer(hwi, nullptr, sizeof(WAVEHDR)), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
}

}  // namespace
}  // namespace morvex::wave
