// The wave devices on the virtual clock and on a PCM no configuration defines.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/wave/device_selection.h"
#include "platform/wave/frame_clock.h"
#include "platform/wave/virtual_clock.h"
#include "platform/win32.h"
#include "wave_test_window.h"

namespace morvex::wave {
namespace {

using testing::Ids;
using testing::Joined;
using testing::Received;
using Bytes = std::vector<uint8_t>;
using Headers = std::vector<LPARAM>;
using MessageIds = std::vector<UINT>;

constexpr DWORD kBytesPerMs = 16;  // playback: 16-bit mono at 8000 Hz
constexpr size_t kTenMs = 882;     // recording, the live input: 16-bit mono at 44100 Hz

Headers Returned(const std::vector<Received>& messages) {
  Headers headers;
  for (const Received& m : messages) {
    if (m.msg == MM_WOM_DONE || m.msg == MM_WIM_DATA) headers.push_back(m.lParam);
  }
  return headers;
}

class WaveDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override { UseVirtualClockDevices(&clock); }
  void TearDown() override {
    if (hwo && waveOutReset(hwo) == MMSYSERR_NOERROR) waveOutClose(hwo);
    if (hwi && waveInReset(hwi) == MMSYSERR_NOERROR) waveInClose(hwi);
    window.Pump();
    UseSystemDevices();
  }
  void OpenOut(const WAVEFORMATEX& format = testing::PcmFormatOf(8000, 1, 16)) {
    ASSERT_EQ(waveOutOpen(&hwo, WAVE_MAPPER, &format, window.Callback(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  }
  // Buffers live until the test ends.
  testing::WaveBuffer& Write(DWORD ms, uint8_t first = 0, size_t extraBytes = 0) {
    auto& buffer = buffers.emplace_back(testing::Counting(ms * kBytesPerMs + extraBytes, first));
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
  Bytes Heard() { return clock.Heard(clock.OutputStreamCount() - 1); }
  void OpenIn() {
    const WAVEFORMATEX format = testing::PcmFormatOf(44100, 1, 16);
    ASSERT_EQ(waveInOpen(&hwi, WAVE_MAPPER, &format, window.Callback(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  }
  testing::WaveBuffer& Add() {
    auto& buffer = buffers.emplace_back(Bytes(kTenMs, 0xEE));
    EXPECT_EQ(waveInPrepareHeader(hwi, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInAddBuffer(hwi, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    return buffer;
  }
  void Advance(int ms) { clock.Advance(std::chrono::milliseconds(ms)); }

  std::deque<testing::WaveBuffer> buffers;
  VirtualClock clock;
  testing::WaveTestWindow window;
  HWAVEOUT hwo = nullptr;
  HWAVEIN hwi = nullptr;
};

// Buffers return in order once heard; position counts heard bytes; reset, close and header rules.
TEST_F(WaveDeviceTest, PlaybackReturnsBuffersInOrderAndCountsHeardBytes) {
  OpenOut();
  ASSERT_EQ(Ids(window.Pump()), MessageIds{MM_WOM_OPEN});
  Advance(100);
  EXPECT_EQ(Position(), 0u) << "an idle device counts no bytes";
  auto& a = Write(10);
  auto& b = Write(10, 40);
  auto& odd = Write(10, 80, 1);
  auto& empty = Write(0);
  Advance(9);
  EXPECT_TRUE(window.Pump().empty());
  Advance(1);
  std::vector<Received> messages = window.Pump();
  ASSERT_EQ(Returned(messages), Headers{a.Param()});
  EXPECT_EQ(messages[0].thread, GetCurrentThreadId());
  EXPECT_EQ(a.header.dwFlags, static_cast<DWORD>(WHDR_PREPARED | WHDR_DONE));
  EXPECT_EQ(waveOutClose(hwo), static_cast<MMRESULT>(WAVERR_STILLPLAYING));
  Advance(25);
  EXPECT_EQ(Returned(window.Pump()), (Headers{b.Param(), odd.Param(), empty.Param()}));
  EXPECT_EQ(Position(), 30u * kBytesPerMs) << "a refused close leaves the device playing";
  Advance(100);
  auto& c = Write(50, 120);
  auto& d = Write(50, 220);
  Advance(60);
  EXPECT_EQ(Position(), 90u * kBytesPerMs) << "idle time between the buffers is not counted";
  ASSERT_EQ(waveOutReset(hwo), MMSYSERR_NOERROR);
  EXPECT_EQ(Returned(window.Pump()), (Headers{c.Param(), d.Param()}));
  Advance(20);
  EXPECT_EQ(Position(), 90u * kBytesPerMs) << "nothing plays after a reset";
  auto& e = Write(10, 30);
  Advance(20);
  EXPECT_EQ(Position(), 100u * kBytesPerMs) << "nothing more was written";
  const Bytes dHeard(d.data.begin(), d.data.begin() + 10 * kBytesPerMs);
  EXPECT_EQ(Heard(), Joined(Joined(Joined(a.data, b.data), Bytes(odd.data.begin(), odd.data.end() - 1)),
                            Joined(Joined(c.data, dHeard), e.data)));
  auto& f = Write(10);
  EXPECT_EQ(waveOutWrite(hwo, &f.header, sizeof(WAVEHDR)), static_cast<MMRESULT>(WAVERR_STILLPLAYING));
  EXPECT_EQ(waveOutUnprepareHeader(hwo, &f.header, sizeof(WAVEHDR)), static_cast<MMRESULT>(WAVERR_STILLPLAYING));
  EXPECT_EQ(waveOutWrite(hwo, &f.header, sizeof(WAVEHDR) - 1), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
  Advance(10);
  EXPECT_EQ(waveOutUnprepareHeader(hwo, &f.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  EXPECT_EQ(f.header.dwFlags, static_cast<DWORD>(WHDR_DONE));
  EXPECT_EQ(waveOutWrite(hwo, &f.header, sizeof(WAVEHDR)), static_cast<MMRESULT>(WAVERR_UNPREPARED));
  ASSERT_EQ(waveOutClose(hwo), MMSYSERR_NOERROR);
  messages = window.Pump();
  EXPECT_EQ(Ids(messages), (MessageIds{MM_WOM_DONE, MM_WOM_DONE, MM_WOM_CLOSE}));
  for (const Received& m : messages) EXPECT_EQ(m.wParam, reinterpret_cast<WPARAM>(hwo));
  MMTIME time{};
  EXPECT_EQ(waveOutGetPosition(hwo, &time, sizeof(time)), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
  EXPECT_EQ(waveOutClose(hwo), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
  EXPECT_EQ(waveOutUnprepareHeader(hwo, &a.header, sizeof(WAVEHDR)), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
  hwo = nullptr;
}

// A device that cannot pause drops its buffer and resumes with the first unheard byte (one that
// can is driven through the ALSA stream).
TEST_F(WaveDeviceTest, PauseWithoutTheDevicesPauseFreezesThePositionAndResumesWithoutLoss) {
  clock.SetPauseSupported(false);
  OpenOut();
  ASSERT_EQ(waveOutPause(hwo), MMSYSERR_NOERROR);
  auto& a = Write(30, 0);
  Advance(20);
  EXPECT_EQ(Position(), 0u) << "buffers written while paused wait for the restart";
  ASSERT_EQ(waveOutRestart(hwo), MMSYSERR_NOERROR);
  auto& b = Write(30, 90);
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

TEST_F(WaveDeviceTest, OpenRejectsWhatTheDeviceCannotDoAndFallsBackToTheSilentDevice) {
  WAVEFORMATEX wideSamples = testing::PcmFormatOf(44100, 2, 24), badAlign = testing::PcmFormatOf(44100, 2, 16);
  WAVEFORMATEX floats = badAlign;
  badAlign.nBlockAlign = 2;
  floats.wFormatTag = 3;
  for (const WAVEFORMATEX* format : {&wideSamples, &badAlign, &floats}) {
    EXPECT_EQ(waveOutOpen(&hwo, WAVE_MAPPER, format, window.Callback(), 0, CALLBACK_WINDOW),
              static_cast<MMRESULT>(WAVERR_BADFORMAT));
  }
  hwo = nullptr;
  EXPECT_TRUE(window.Pump().empty()) << "a failed open posts nothing";
  EXPECT_EQ(clock.OutputStreamCount(), 0u);
  // Half of 11025 Hz: the byte rate is computed from the full rate, as the program does it.
  WAVEFORMATEX halved = testing::PcmFormatOf(11025 / 2, 2, 16);
  halved.nAvgBytesPerSec = 11025 * 4 / 2;
  OpenOut(halved);
  ASSERT_EQ(waveOutClose(hwo), MMSYSERR_NOERROR);
  window.Pump();
  // Without a playback device the silent device stands in, saying so once on one line.
  constexpr char kMissingPcm[] = "morvex_no_such_pcm";
  UseSystemDevices(kMissingPcm);
  ::testing::internal::CaptureStderr();
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(waveOutOpen(&hwo, WAVE_MAPPER, &halved, window.Callback(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutClose(hwo), MMSYSERR_NOERROR);
  }
  hwo = nullptr;
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("playing silently in real time"), std::string::npos) << said;
  EXPECT_NE(said.find(kMissingPcm), std::string::npos) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line, and nothing from ALSA itself: " << said;
  EXPECT_EQ(Ids(window.Pump()), (MessageIds{MM_WOM_OPEN, MM_WOM_CLOSE, MM_WOM_OPEN, MM_WOM_CLOSE}));
}

TEST(FramesInNanosTest, LongStreamsDoNotOverflow) {
  const int64_t tenDays = 10LL * 24 * 3600 * 1000000000;
  EXPECT_EQ(FramesInNanos(tenDays + 500000000, 192000), 10LL * 24 * 3600 * 192000 + 96000);
}

// Recording starts with the start, loses what comes with no buffer; close waits for the buffers.
TEST_F(WaveDeviceTest, RecordingFillsBuffersInOrderAfterStart) {
  OpenIn();
  ASSERT_EQ(Ids(window.Pump()), MessageIds{MM_WIM_OPEN});
  auto& a = Add();
  auto& b = Add();
  Advance(50);
  EXPECT_TRUE(window.Pump().empty()) << "nothing is recorded before the start";
  const Bytes sound = testing::Counting(4 * kTenMs, 1);
  clock.FeedInput(sound.data(), 2 * kTenMs);
  ASSERT_EQ(waveInStart(hwi), MMSYSERR_NOERROR);
  Advance(6);
  EXPECT_TRUE(window.Pump().empty()) << "a buffer comes back only when it is full";
  Advance(4);
  ASSERT_EQ(Returned(window.Pump()), Headers{a.Param()});
  EXPECT_EQ(a.Recorded(), Bytes(sound.begin(), sound.begin() + kTenMs));
  EXPECT_EQ(waveInClose(hwi), static_cast<MMRESULT>(WAVERR_STILLPLAYING));
  Advance(10);
  ASSERT_EQ(Returned(window.Pump()), Headers{b.Param()});
  EXPECT_EQ(b.Recorded(), Bytes(sound.begin() + kTenMs, sound.begin() + 2 * kTenMs));
  clock.FeedInput(sound.data() + 2 * kTenMs, 2 * kTenMs);
  Advance(10);
  auto& c = Add();
  Advance(10);
  ASSERT_EQ(Returned(window.Pump()), Headers{c.Param()});
  EXPECT_EQ(c.Recorded(), Bytes(sound.begin() + 3 * kTenMs, sound.end()));
  ASSERT_EQ(waveInClose(hwi), MMSYSERR_NOERROR);
  const std::vector<Received> closed = window.Pump();
  ASSERT_EQ(Ids(closed), MessageIds{MM_WIM_CLOSE});
  EXPECT_EQ(closed[0].wParam, reinterpret_cast<WPARAM>(hwi));
  EXPECT_EQ(waveInUnprepareHeader(hwi, &a.header, sizeof(WAVEHDR)), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
}

}  // namespace
}  // namespace morvex::wave
