// The wave-out device on the virtual clock, through a real window and message loop.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <thread>
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
using Bytes = std::vector<uint8_t>;
using Headers = std::vector<LPARAM>;
using MessageIds = std::vector<UINT>;

// 16-bit mono at 8000 Hz: one millisecond is 8 frames, 16 bytes.
constexpr int kBytesPerMs = 16;

using Buffer = testing::WaveBuffer;

Bytes Joined(const Bytes& a, const Bytes& b) {
  Bytes joined = a;
  joined.insert(joined.end(), b.begin(), b.end());
  return joined;
}

class WaveOutTest : public ::testing::Test {
 protected:
  void SetUp() override { UseVirtualClockDevices(&clock); }
  void TearDown() override {
    if (open) {
      waveOutReset(hwo);
      EXPECT_EQ(waveOutClose(hwo), MMSYSERR_NOERROR);
    }
    window.Pump();
    UseSystemDevices();
  }

  void Open(const WAVEFORMATEX& format = testing::PcmFormatOf(8000, 1, 16)) {
    ASSERT_EQ(waveOutOpen(&hwo, WAVE_MAPPER, &format, window.Callback(), 0, CALLBACK_WINDOW),
              MMSYSERR_NOERROR);
    open = true;
  }
  // Buffers live until the device has been reset and closed.
  Buffer& Write(int ms, uint8_t first = 0, size_t extraBytes = 0) {
    Buffer& buffer = buffers.emplace_back(testing::Counting(ms * kBytesPerMs + extraBytes, first));
    EXPECT_EQ(waveOutPrepareHeader(hwo, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutWrite(hwo, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    return buffer;
  }
  DWORD Position() {
    MMTIME time{};
    EXPECT_EQ(waveOutGetPosition(hwo, &time, sizeof(time)), MMSYSERR_NOERROR);
    EXPECT_EQ(time.wType, static_cast<UINT>(TIME_BYTES));
    return time.u.cb;
  }
  MMRESULT Close() {
    MMRESULT result = waveOutClose(hwo);
    if (result == MMSYSERR_NOERROR) open = false;
    return result;
  }
  Bytes Heard() { return clock.Heard(clock.OutputStreamCount() - 1); }
  Headers Done(const std::vector<DeviceMessage>& messages) {
    Headers headers;
    for (const DeviceMessage& m : messages) {
      if (m.message == MM_WOM_DONE) headers.push_back(m.param);
    }
    return headers;
  }
  void Advance(int ms) { clock.Advance(milliseconds(ms)); }

  std::deque<Buffer> buffers;
  VirtualClock clock;
  testing::WaveTestWindow window;
  HWAVEOUT hwo = nullptr;
  bool open = false;
};

TEST_F(WaveOutTest, PositionCountsBytesHeardAcrossBuffersButNotIdleTime) {
  Open();
  std::vector<DeviceMessage> opened = window.Pump();
  ASSERT_EQ(Ids(opened), MessageIds{MM_WOM_OPEN});
  EXPECT_EQ(opened[0].device, reinterpret_cast<WPARAM>(hwo));
  EXPECT_EQ(opened[0].param, 0);
  Advance(100);
  EXPECT_EQ(Position(), 0u) << "an idle device counts no bytes";
  Buffer& a = Write(50, 0);
  Buffer& b = Write(50, 100);
  Advance(30);
  EXPECT_EQ(Position(), 30u * kBytesPerMs);
  Advance(30);
  EXPECT_EQ(Position(), 60u * kBytesPerMs) << "the position runs on into the second buffer";
  Advance(80);
  EXPECT_EQ(Position(), 100u * kBytesPerMs) << "nothing more was written";
  EXPECT_EQ(Heard(), Joined(a.data, b.data));
  Write(10);
  Advance(5);
  EXPECT_EQ(Position(), 105u * kBytesPerMs) << "idle time between the buffers is not counted";
}

TEST_F(WaveOutTest, DoneArrivesOnTheWindowThreadInWriteOrderOnceTheLastByteIsHeard) {
  Open();
  window.Pump();
  Buffer& a = Write(10);
  Buffer& b = Write(10);
  // The program writes an empty buffer at the end of a file; a buffer's bytes beyond its last
  // whole frame are not played.
  Buffer& odd = Write(10, 0, 1);
  Buffer& empty = Write(0);
  Advance(9);
  EXPECT_TRUE(window.Pump().empty()) << "a buffer is not done before its last byte is heard";
  EXPECT_EQ(a.header.dwFlags, static_cast<DWORD>(WHDR_PREPARED | WHDR_INQUEUE));
  Advance(1);
  std::vector<DeviceMessage> messages = window.Pump();
  ASSERT_EQ(Done(messages), Headers{a.Param()});
  EXPECT_EQ(messages[0].thread, GetCurrentThreadId());
  EXPECT_EQ(messages[0].device, reinterpret_cast<WPARAM>(hwo));
  EXPECT_EQ(a.header.dwFlags, static_cast<DWORD>(WHDR_PREPARED | WHDR_DONE));
  Advance(25);
  EXPECT_EQ(Done(window.Pump()), (Headers{b.Param(), odd.Param(), empty.Param()}));
  EXPECT_EQ(Position(), 30u * kBytesPerMs);
}

// The live output's stop closes after the last buffer came back; a close before is refused.
TEST_F(WaveOutTest, CloseIsRefusedWhileBuffersAreQueuedAndMessagesKeepDeviceOrder) {
  Open();
  Buffer& a = Write(10);
  EXPECT_EQ(Close(), static_cast<MMRESULT>(WAVERR_STILLPLAYING));
  Advance(5);
  EXPECT_EQ(Position(), 5u * kBytesPerMs) << "a refused close leaves the device playing";
  Advance(5);
  EXPECT_EQ(Close(), MMSYSERR_NOERROR);
  std::vector<DeviceMessage> messages = window.Pump();
  EXPECT_EQ(Ids(messages), (MessageIds{MM_WOM_OPEN, MM_WOM_DONE, MM_WOM_CLOSE}));
  for (const DeviceMessage& m : messages) EXPECT_EQ(m.device, reinterpret_cast<WPARAM>(hwo));
  MMTIME time{};
  EXPECT_EQ(waveOutGetPosition(hwo, &time, sizeof(time)), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
  EXPECT_EQ(waveOutClose(hwo), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
  EXPECT_EQ(waveOutUnprepareHeader(hwo, &a.header, sizeof(WAVEHDR)),
            static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
}

TEST_F(WaveOutTest, ResetStopsAtOnceAndHandsBackEveryQueuedBuffer) {
  Open();
  window.Pump();
  Buffer& a = Write(50, 0);
  Buffer& b = Write(50, 100);
  Advance(20);
  ASSERT_EQ(waveOutReset(hwo), MMSYSERR_NOERROR);
  EXPECT_EQ(a.header.dwFlags & (WHDR_DONE | WHDR_INQUEUE), static_cast<DWORD>(WHDR_DONE));
  EXPECT_EQ(b.header.dwFlags & (WHDR_DONE | WHDR_INQUEUE), static_cast<DWORD>(WHDR_DONE));
  EXPECT_EQ(Done(window.Pump()), (Headers{a.Param(), b.Param()}));
  Advance(20);
  EXPECT_EQ(Position(), 20u * kBytesPerMs) << "nothing plays after a reset";

  // A buffer written after the reset follows at once; the position keeps counting from the opening.
  Buffer& c = Write(10, 200);
  Advance(10);
  EXPECT_EQ(Position(), 30u * kBytesPerMs);
  EXPECT_EQ(Heard(), Joined(Bytes(a.data.begin(), a.data.begin() + 20 * kBytesPerMs), c.data));
}

// A device that cannot pause drops its buffer and resumes with the first unheard byte.
class WaveOutPauseTest : public WaveOutTest, public ::testing::WithParamInterface<bool> {};

TEST_P(WaveOutPauseTest, PauseFreezesThePositionAndRestartResumesWithoutLoss) {
  clock.SetPauseSupported(GetParam());
  Open();
  ASSERT_EQ(waveOutPause(hwo), MMSYSERR_NOERROR);
  Buffer& a = Write(30, 0);
  Advance(20);
  EXPECT_EQ(Position(), 0u) << "buffers written while paused wait for the restart";
  ASSERT_EQ(waveOutRestart(hwo), MMSYSERR_NOERROR);
  Buffer& b = Write(30, 90);
  Advance(40);
  ASSERT_EQ(waveOutPause(hwo), MMSYSERR_NOERROR);
  Advance(50);
  EXPECT_EQ(Position(), 40u * kBytesPerMs);
  ASSERT_EQ(waveOutRestart(hwo), MMSYSERR_NOERROR);
  Advance(15);
  EXPECT_EQ(Position(), 55u * kBytesPerMs);
  Advance(10);
  EXPECT_EQ(Heard(), Joined(a.data, b.data)) << "the pause lost or repeated nothing";
}

INSTANTIATE_TEST_SUITE_P(DeviceCanPause, WaveOutPauseTest, ::testing::Bool());

TEST_F(WaveOutTest, HeaderFlagsFollowPrepareWriteAndUnprepare) {
  Open();
  Buffer& a = buffers.emplace_back(Bytes(10 * kBytesPerMs));
  EXPECT_EQ(waveOutWrite(hwo, &a.header, sizeof(WAVEHDR)), static_cast<MMRESULT>(WAVERR_UNPREPARED));
  ASSERT_EQ(waveOutPrepareHeader(hwo, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  ASSERT_EQ(waveOutWrite(hwo, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutWrite(hwo, &a.header, sizeof(WAVEHDR)), static_cast<MMRESULT>(WAVERR_STILLPLAYING));
  EXPECT_EQ(waveOutUnprepareHeader(hwo, &a.header, sizeof(WAVEHDR)),
            static_cast<MMRESULT>(WAVERR_STILLPLAYING));
  Advance(10);
  EXPECT_EQ(waveOutUnprepareHeader(hwo, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  EXPECT_EQ(a.header.dwFlags, static_cast<DWORD>(WHDR_DONE));
  EXPECT_EQ(waveOutWrite(hwo, nullptr, sizeof(WAVEHDR)), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
  EXPECT_EQ(waveOutWrite(hwo, &a.header, sizeof(WAVEHDR) - 1), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
}

TEST_F(WaveOutTest, OpenRejectsWhatTheDeviceCannotDo) {
  const WAVEFORMATEX good = testing::PcmFormatOf(44100, 2, 16);
  WAVEFORMATEX wideSamples = good, badAlign = good, floats = good;
  wideSamples.wBitsPerSample = 24;
  wideSamples.nBlockAlign = 6;
  badAlign.nBlockAlign = 2;
  floats.wFormatTag = 3;
  struct Case { UINT id; const WAVEFORMATEX* format; DWORD flags; MMRESULT expected; } cases[] = {
      {1, &good, CALLBACK_WINDOW, MMSYSERR_BADDEVICEID},
      {WAVE_MAPPER, &good, 0x00030000, MMSYSERR_INVALFLAG},
      {WAVE_MAPPER, &wideSamples, CALLBACK_WINDOW, WAVERR_BADFORMAT},
      {WAVE_MAPPER, &badAlign, CALLBACK_WINDOW, WAVERR_BADFORMAT},
      {WAVE_MAPPER, &floats, CALLBACK_WINDOW, WAVERR_BADFORMAT},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(waveOutOpen(&hwo, c.id, c.format, window.Callback(), 0, c.flags), c.expected);
  }
  EXPECT_TRUE(window.Pump().empty()) << "a failed open posts nothing";
  EXPECT_EQ(clock.OutputStreamCount(), 0u);
  // Half of 11025 Hz: the byte rate is computed from the full rate, as the program does it.
  WAVEFORMATEX halved = testing::PcmFormatOf(11025 / 2, 2, 16);
  halved.nAvgBytesPerSec = 11025 * 4 / 2;
  Open(halved);
}

TEST_F(WaveOutTest, PositionReadFromAnotherThreadNeverGoesBack) {
  Open();
  Write(200);
  std::atomic<bool> stop{false};
  std::atomic<bool> wentBack{false};
  std::thread reader([&] {
    DWORD last = 0;
    while (!stop.load()) {
      MMTIME time{};
      waveOutGetPosition(hwo, &time, sizeof(time));
      if (time.u.cb < last || time.u.cb > 200u * kBytesPerMs) wentBack = true;
      last = time.u.cb;
      std::this_thread::yield();
    }
  });
  for (int i = 0; i < 200; ++i) Advance(1);
  stop = true;
  reader.join();
  EXPECT_FALSE(wentBack.load());
  EXPECT_EQ(Position(), 200u * kBytesPerMs);
}

}  // namespace
}  // namespace morvex::wave
