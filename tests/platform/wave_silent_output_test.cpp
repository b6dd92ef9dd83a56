// The silent device runs on the real clock, so these checks only bound it from the side a loaded
// machine cannot push it across: never ahead of the clock, never moving while paused.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/wave/device_selection.h"
#include "platform/win32.h"
#include "wave_test_window.h"

namespace morvex::wave {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class SilentOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A PCM that no configuration defines: the silent device stands in.
    ::testing::internal::CaptureStderr();
    UseSystemDevices("morvex_no_such_pcm");
    // 8-bit mono at 8000 Hz: 8 bytes per millisecond.
    WAVEFORMATEX format = testing::PcmFormatOf(8000, 1, 8);
    const MMRESULT opened = waveOutOpen(&hwo, WAVE_MAPPER, &format, window.Callback(), 0, CALLBACK_WINDOW);
    ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(opened, MMSYSERR_NOERROR);
    data.assign(8 * 300, 0x80);  // 300 ms
    header.lpData = reinterpret_cast<LPSTR>(data.data());
    header.dwBufferLength = static_cast<DWORD>(data.size());
    ASSERT_EQ(waveOutPrepareHeader(hwo, &header, sizeof(header)), MMSYSERR_NOERROR);
  }
  void TearDown() override {
    waveOutReset(hwo);
    EXPECT_EQ(waveOutClose(hwo), MMSYSERR_NOERROR);
    window.Pump();
    UseSystemDevices();
  }
  DWORD Position() {
    MMTIME time{};
    waveOutGetPosition(hwo, &time, sizeof(time));
    return time.u.cb;
  }

  testing::WaveTestWindow window;
  HWAVEOUT hwo = nullptr;
  std::vector<uint8_t> data;
  WAVEHDR header{};
};

TEST_F(SilentOutputTest, PositionNeverRunsAheadAndTheBufferComesBackOnceHeard) {
  Clock::time_point start = Clock::now();
  auto elapsedMs = [&] { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); };
  ASSERT_EQ(waveOutWrite(hwo, &header, sizeof(header)), MMSYSERR_NOERROR);
  std::this_thread::sleep_for(milliseconds(100));
  EXPECT_LE(Position(), elapsedMs() * 8 + 8) << "never ahead of the clock";
  std::vector<testing::DeviceMessage> messages = window.RunUntil(MM_WOM_DONE, milliseconds(60000));
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().message, static_cast<UINT>(MM_WOM_DONE));
  EXPECT_GE(elapsedMs(), 300.0 - 1.0) << "not back before it was heard";
  EXPECT_EQ(Position(), data.size());
}

TEST_F(SilentOutputTest, PauseHoldsThePosition) {
  ASSERT_EQ(waveOutWrite(hwo, &header, sizeof(header)), MMSYSERR_NOERROR);
  std::this_thread::sleep_for(milliseconds(20));
  ASSERT_EQ(waveOutPause(hwo), MMSYSERR_NOERROR);
  DWORD paused = Position();
  std::this_thread::sleep_for(milliseconds(60));
  EXPECT_EQ(Position(), paused);
  ASSERT_EQ(waveOutRestart(hwo), MMSYSERR_NOERROR);
  std::this_thread::sleep_for(milliseconds(60));
  EXPECT_GT(Position(), paused);
}

}  // namespace
}  // namespace morvex::wave
