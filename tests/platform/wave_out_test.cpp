// The wave-out device on the virtual clock, through a real window and message loop.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <numeric>
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

// 16-bit mono at 8000 Hz: one millisecond is 8 frames, 16 bytes.
constexpr int kBytesPerMs = 16;

// A buffer whose bytes count up from `first`, so that what was heard shows where it came from.
struct Buffer {
  Buffer(size_t bytes, uint8_t first) : data(bytes) {
    std::iota(data.begin(), data.end(), first);
    header.lpData = reinterpret_cast<LPSTR>(data.data());
    header.dwBufferLength = static_cast<DWORD>(bytes);
  }
  std::vector<uint8_t> data;
  WAVEHDR header{};
};

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
  void Write(Buffer& buffer) {
    ASSERT_EQ(waveOutPrepareHeader(hwo, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutWrite(hwo, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
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
  // Buffers live until the device has been reset and closed.
  Buffer& Make(size_t bytes, uint8_t first) { return buffers.emplace_back(bytes, first); }
  std::vector<uint8_t> Heard() { return clock.Heard(clock.OutputStreamCount() - 1); }
  std::vector<LPARAM> DoneHeaders(const std::vector<DeviceMessage>& messages) {
    std::vector<LPARAM> headers;
    for (const DeviceMessage& m : messages) {
      if (m.message == MM_WOM_DONE) headers.push_back(m.param);
    }
    return headers;
  }
  static LPARAM Param(Buffer& b) { return reinterpret_cast<LPARAM>(&b.header); }

  std::deque<Buffer> buffers;
  VirtualClock clock;
  testing::WaveTestWindow window;
  HWAVEOUT hwo = nullptr;
  bool open = false;
};

// Opening, playing and closing.

TEST_F(WaveOutTest, OpenPostsOpenMessageAndPositionStartsAtZero) {
  Open();
  std::vector<DeviceMessage> messages = window.Pump();
  ASSERT_EQ(Ids(messages), std::vector<UINT>{MM_WOM_OPEN});
  EXPECT_EQ(messages[0].device, reinterpret_cast<WPARAM>(hwo));
  EXPECT_EQ(messages[0].param, 0);
  EXPECT_EQ(Position(), 0u);
  clock.Advance(milliseconds(100));
  EXPECT_EQ(Position(), 0u) << "an idle device counts no bytes";
}

TEST_F(WaveOutTest, PositionCountsBytesHeardAndBuffersPlayBackToBack) {
  Open();
  Buffer& a = Make(50 * kBytesPerMs, 0);
  Buffer& b = Make(50 * kBytesPerMs, 100);
  Write(a);
  Write(b);
  clock.Advance(milliseconds(30));
  EXPECT_EQ(Position(), 30u * kBytesPerMs);
  clock.Advance(milliseconds(30));
  EXPECT_EQ(Position(), 60u * kBytesPerMs) << "the position runs on into the second buffer";
  clock.Advance(milliseconds(40));
  EXPECT_EQ(Position(), 100u * kBytesPerMs);
  clock.Advance(milliseconds(40));
  EXPECT_EQ(Position(), 100u * kBytesPerMs) << "nothing more was written";

  std::vector<uint8_t> expected = a.data;
  expected.insert(expected.end(), b.data.begin(), b.data.end());
  EXPECT_EQ(Heard(), expected);
}

TEST_F(WaveOutTest, BufferWrittenAfterSilenceStartsWhereThePositionStands) {
  Open();
  Buffer& a = Make(10 * kBytesPerMs, 0);
  Buffer& b = Make(10 * kBytesPerMs, 50);
  Write(a);
  clock.Advance(milliseconds(30));
  EXPECT_EQ(Position(), 10u * kBytesPerMs);
  Write(b);
  clock.Advance(milliseconds(5));
  EXPECT_EQ(Position(), 15u * kBytesPerMs) << "idle time between the buffers is not counted";
}

TEST_F(WaveOutTest, PositionIsExactAtRatesWithFractionalFramesPerMillisecond) {
  Open(testing::PcmFormatOf(44100, 2, 16));
  Buffer& a = Make(44100 * 4, 0);
  Write(a);
  for (int i = 0; i < 7; ++i) clock.Advance(milliseconds(3));
  // 21 ms hold 926.1 frames: 926 whole frames have been heard.
  EXPECT_EQ(Position(), 926u * 4);
  MMTIME samples{TIME_SAMPLES, {}};
  ASSERT_EQ(waveOutGetPosition(hwo, &samples, sizeof(samples)), MMSYSERR_NOERROR);
  EXPECT_EQ(samples.wType, static_cast<UINT>(TIME_SAMPLES));
  EXPECT_EQ(samples.u.sample, 926u);
  MMTIME ms{TIME_MS, {}};
  ASSERT_EQ(waveOutGetPosition(hwo, &ms, sizeof(ms)), MMSYSERR_NOERROR);
  EXPECT_EQ(ms.u.ms, 20u);
}

TEST_F(WaveOutTest, DoneArrivesOnTheWindowThreadInWriteOrderOnceTheLastByteIsHeard) {
  Open();
  window.Pump();
  Buffer& a = Make(10 * kBytesPerMs, 0);
  Buffer& b = Make(10 * kBytesPerMs, 0);
  Buffer& c = Make(10 * kBytesPerMs, 0);
  Write(a);
  Write(b);
  Write(c);
  clock.Advance(milliseconds(9));
  EXPECT_TRUE(window.Pump().empty()) << "a buffer is not done before its last byte is heard";
  EXPECT_EQ(a.header.dwFlags, static_cast<DWORD>(WHDR_PREPARED | WHDR_INQUEUE));
  clock.Advance(milliseconds(1));
  std::vector<DeviceMessage> messages = window.Pump();
  ASSERT_EQ(DoneHeaders(messages), std::vector<LPARAM>{Param(a)});
  EXPECT_EQ(messages[0].thread, GetCurrentThreadId());
  EXPECT_EQ(messages[0].device, reinterpret_cast<WPARAM>(hwo));
  EXPECT_EQ(a.header.dwFlags, static_cast<DWORD>(WHDR_PREPARED | WHDR_DONE));
  clock.Advance(milliseconds(25));
  EXPECT_EQ(DoneHeaders(window.Pump()), (std::vector<LPARAM>{Param(b), Param(c)}));
}

TEST_F(WaveOutTest, EmptyAndPartFrameBuffersComeBackInTurn) {
  Open();
  window.Pump();
  // The program writes an empty buffer at the end of a file; a buffer's bytes beyond its last
  // whole frame are not played.
  Buffer& odd = Make(10 * kBytesPerMs + 1, 0);
  Buffer& empty = Make(0, 0);
  Write(odd);
  Write(empty);
  clock.Advance(milliseconds(10));
  EXPECT_EQ(DoneHeaders(window.Pump()), (std::vector<LPARAM>{Param(odd), Param(empty)}));
  EXPECT_EQ(Position(), 10u * kBytesPerMs);
}

TEST_F(WaveOutTest, OpenCloseAndDoneMessagesArriveInDeviceOrder) {
  Open();
  Buffer& a = Make(10 * kBytesPerMs, 0);
  Write(a);
  clock.Advance(milliseconds(10));
  ASSERT_EQ(Close(), MMSYSERR_NOERROR);
  std::vector<DeviceMessage> messages = window.Pump();
  EXPECT_EQ(Ids(messages), (std::vector<UINT>{MM_WOM_OPEN, MM_WOM_DONE, MM_WOM_CLOSE}));
  for (const DeviceMessage& m : messages) EXPECT_EQ(m.device, reinterpret_cast<WPARAM>(hwo));
}

TEST_F(WaveOutTest, CloseIsRefusedWhileBuffersAreQueued) {
  Open();
  Buffer& a = Make(10 * kBytesPerMs, 0);
  Write(a);
  EXPECT_EQ(Close(), static_cast<MMRESULT>(WAVERR_STILLPLAYING));
  clock.Advance(milliseconds(5));
  EXPECT_EQ(Position(), 5u * kBytesPerMs) << "a refused close leaves the device playing";
  clock.Advance(milliseconds(5));
  EXPECT_EQ(Close(), MMSYSERR_NOERROR);
  EXPECT_EQ(Ids(window.Pump()), (std::vector<UINT>{MM_WOM_OPEN, MM_WOM_DONE, MM_WOM_CLOSE}));
  MMTIME time{};
  EXPECT_EQ(waveOutGetPosition(hwo, &time, sizeof(time)), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
  EXPECT_EQ(waveOutClose(hwo), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
}

// Reset, pause and restart.

TEST_F(WaveOutTest, ResetStopsAtOnceAndHandsBackEveryQueuedBuffer) {
  Open();
  window.Pump();
  Buffer& a = Make(50 * kBytesPerMs, 0);
  Buffer& b = Make(50 * kBytesPerMs, 100);
  Buffer& c = Make(10 * kBytesPerMs, 200);
  Write(a);
  Write(b);
  clock.Advance(milliseconds(20));
  ASSERT_EQ(waveOutReset(hwo), MMSYSERR_NOERROR);
  EXPECT_EQ(a.header.dwFlags & (WHDR_DONE | WHDR_INQUEUE), static_cast<DWORD>(WHDR_DONE));
  EXPECT_EQ(b.header.dwFlags & (WHDR_DONE | WHDR_INQUEUE), static_cast<DWORD>(WHDR_DONE));
  EXPECT_EQ(DoneHeaders(window.Pump()), (std::vector<LPARAM>{Param(a), Param(b)}));
  clock.Advance(milliseconds(20));
  EXPECT_EQ(Position(), 20u * kBytesPerMs) << "nothing plays after a reset";

  // A buffer written after the reset follows at once; the position keeps counting from the opening.
  Write(c);
  clock.Advance(milliseconds(10));
  EXPECT_EQ(Position(), 30u * kBytesPerMs);
  std::vector<uint8_t> expected(a.data.begin(), a.data.begin() + 20 * kBytesPerMs);
  expected.insert(expected.end(), c.data.begin(), c.data.end());
  EXPECT_EQ(Heard(), expected);
}

TEST_F(WaveOutTest, ThePlaybackEnginesStopPatternClosesOnTheFirstReturnedBuffer) {
  Open();
  window.Pump();
  Buffer& a = Make(50 * kBytesPerMs, 0);
  Buffer& b = Make(50 * kBytesPerMs, 0);
  Write(a);
  Write(b);
  clock.Advance(milliseconds(10));
  ASSERT_EQ(waveOutReset(hwo), MMSYSERR_NOERROR);
  // Handling the first MM_WOM_DONE closes the device; the second finds it closed.
  ASSERT_EQ(Ids(window.Pump()), (std::vector<UINT>{MM_WOM_DONE, MM_WOM_DONE}));
  EXPECT_EQ(Close(), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutClose(hwo), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
  EXPECT_EQ(Ids(window.Pump()), std::vector<UINT>{MM_WOM_CLOSE});
  EXPECT_EQ(waveOutUnprepareHeader(hwo, &a.header, sizeof(WAVEHDR)),
            static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
}

TEST_F(WaveOutTest, PauseFreezesThePositionAndRestartResumesIt) {
  Open();
  Buffer& a = Make(50 * kBytesPerMs, 0);
  Write(a);
  clock.Advance(milliseconds(10));
  ASSERT_EQ(waveOutPause(hwo), MMSYSERR_NOERROR);
  clock.Advance(milliseconds(100));
  EXPECT_EQ(Position(), 10u * kBytesPerMs);
  ASSERT_EQ(waveOutRestart(hwo), MMSYSERR_NOERROR);
  clock.Advance(milliseconds(15));
  EXPECT_EQ(Position(), 25u * kBytesPerMs);
  clock.Advance(milliseconds(25));
  EXPECT_EQ(Heard(), a.data) << "the pause lost or repeated nothing";
}

TEST_F(WaveOutTest, DeviceThatCannotPauseResumesWithTheFirstUnheardByte) {
  clock.SetPauseSupported(false);
  Open();
  Buffer& a = Make(30 * kBytesPerMs, 0);
  Buffer& b = Make(30 * kBytesPerMs, 90);
  Write(a);
  Write(b);
  clock.Advance(milliseconds(40));
  ASSERT_EQ(waveOutPause(hwo), MMSYSERR_NOERROR);
  clock.Advance(milliseconds(50));
  EXPECT_EQ(Position(), 40u * kBytesPerMs);
  ASSERT_EQ(waveOutRestart(hwo), MMSYSERR_NOERROR);
  clock.Advance(milliseconds(20));
  EXPECT_EQ(Position(), 60u * kBytesPerMs);
  std::vector<uint8_t> expected = a.data;
  expected.insert(expected.end(), b.data.begin(), b.data.end());
  EXPECT_EQ(Heard(), expected);
}

TEST_F(WaveOutTest, BuffersWrittenWhilePausedWaitForRestart) {
  Open();
  ASSERT_EQ(waveOutPause(hwo), MMSYSERR_NOERROR);
  Buffer& a = Make(10 * kBytesPerMs, 0);
  Write(a);
  clock.Advance(milliseconds(20));
  EXPECT_EQ(Position(), 0u);
  ASSERT_EQ(waveOutRestart(hwo), MMSYSERR_NOERROR);
  clock.Advance(milliseconds(10));
  EXPECT_EQ(Position(), 10u * kBytesPerMs);
}

// Header rules and arguments.

TEST_F(WaveOutTest, HeaderFlagsFollowPrepareWriteAndUnprepare) {
  Open();
  Buffer& a = Make(10 * kBytesPerMs, 0);
  EXPECT_EQ(waveOutWrite(hwo, &a.header, sizeof(WAVEHDR)), static_cast<MMRESULT>(WAVERR_UNPREPARED));
  Write(a);
  EXPECT_EQ(waveOutWrite(hwo, &a.header, sizeof(WAVEHDR)), static_cast<MMRESULT>(WAVERR_STILLPLAYING));
  EXPECT_EQ(waveOutUnprepareHeader(hwo, &a.header, sizeof(WAVEHDR)),
            static_cast<MMRESULT>(WAVERR_STILLPLAYING));
  clock.Advance(milliseconds(10));
  EXPECT_EQ(waveOutUnprepareHeader(hwo, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  EXPECT_EQ(a.header.dwFlags, static_cast<DWORD>(WHDR_DONE));
  EXPECT_EQ(waveOutWrite(hwo, nullptr, sizeof(WAVEHDR)), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
  EXPECT_EQ(waveOutWrite(hwo, &a.header, sizeof(WAVEHDR) - 1), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
}

TEST_F(WaveOutTest, OpenRejectsWhatTheDeviceCannotDo) {
  WAVEFORMATEX format = testing::PcmFormatOf(44100, 2, 16);
  DWORD_PTR callback = window.Callback();
  EXPECT_EQ(waveOutOpen(&hwo, 1, &format, callback, 0, CALLBACK_WINDOW),
            static_cast<MMRESULT>(MMSYSERR_BADDEVICEID));
  EXPECT_EQ(waveOutOpen(&hwo, WAVE_MAPPER, &format, callback, 0, 0x00030000),
            static_cast<MMRESULT>(MMSYSERR_INVALFLAG));
  WAVEFORMATEX bad = format;
  bad.wBitsPerSample = 24;
  bad.nBlockAlign = 6;
  EXPECT_EQ(waveOutOpen(&hwo, WAVE_MAPPER, &bad, callback, 0, CALLBACK_WINDOW),
            static_cast<MMRESULT>(WAVERR_BADFORMAT));
  bad = format;
  bad.nBlockAlign = 2;
  EXPECT_EQ(waveOutOpen(&hwo, WAVE_MAPPER, &bad, callback, 0, CALLBACK_WINDOW),
            static_cast<MMRESULT>(WAVERR_BADFORMAT));
  bad = format;
  bad.wFormatTag = 3;
  EXPECT_EQ(waveOutOpen(&hwo, WAVE_MAPPER, &bad, callback, 0, CALLBACK_WINDOW),
            static_cast<MMRESULT>(WAVERR_BADFORMAT));
  EXPECT_TRUE(window.Pump().empty()) << "a failed open posts nothing";
  EXPECT_EQ(clock.OutputStreamCount(), 0u);
}

TEST_F(WaveOutTest, HalvedOddRateWithItsOwnByteRateOpens) {
  // Half of 11025 Hz: the byte rate is computed from the full rate, as the program does it.
  WAVEFORMATEX format = testing::PcmFormatOf(11025 / 2, 2, 16);
  format.nAvgBytesPerSec = 11025 * 4 / 2;
  Open(format);
  EXPECT_EQ(Ids(window.Pump()), std::vector<UINT>{MM_WOM_OPEN});
}

// Other threads.

TEST_F(WaveOutTest, PositionReadFromAnotherThreadNeverGoesBack) {
  Open();
  Buffer& a = Make(200 * kBytesPerMs, 0);
  Write(a);
  std::atomic<bool> stop{false};
  std::atomic<bool> wentBack{false};
  std::atomic<DWORD> highest{0};
  std::thread reader([&] {
    DWORD last = 0;
    while (!stop.load()) {
      MMTIME time{};
      waveOutGetPosition(hwo, &time, sizeof(time));
      if (time.u.cb < last) wentBack = true;
      last = time.u.cb;
      highest = last;
      std::this_thread::yield();
    }
  });
  for (int i = 0; i < 200; ++i) clock.Advance(milliseconds(1));
  stop = true;
  reader.join();
  EXPECT_FALSE(wentBack.load());
  EXPECT_LE(highest.load(), 200u * kBytesPerMs);
  EXPECT_EQ(Position(), 200u * kBytesPerMs);
}

}  // namespace
}  // namespace morvex::wave
