// The system devices through ALSA, on PCMs that exist on every machine with ALSA: "null"
// (which takes and gives frames at once, so only the calls and their order are checked here,
// not timing) and a name that no configuration defines.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/wave/device_selection.h"
#include "platform/win32.h"
#include "wave_test_window.h"

namespace morvex::wave {
namespace {

using std::chrono::milliseconds;

constexpr char kMissingPcm[] = "morvex_no_such_pcm";

using Buffer = testing::WaveBuffer;

class SystemDevicesTest : public ::testing::Test {
 protected:
  void TearDown() override { UseSystemDevices(); }
  testing::WaveTestWindow window;
  WAVEFORMATEX format = testing::PcmFormatOf(44100, 2, 16);
};

TEST_F(SystemDevicesTest, NullPcmPlaysEveryBufferInWriteOrder) {
  UseSystemDevices("null");
  HWAVEOUT hwo = nullptr;
  ASSERT_EQ(waveOutOpen(&hwo, WAVE_MAPPER, &format, window.Callback(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  Buffer a(std::vector<uint8_t>(128000)), b(std::vector<uint8_t>(64000));
  for (Buffer* buffer : {&a, &b}) {
    ASSERT_EQ(waveOutPrepareHeader(hwo, &buffer->header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutWrite(hwo, &buffer->header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  }
  std::vector<testing::DeviceMessage> messages;
  while (testing::Ids(messages) != std::vector<UINT>{MM_WOM_OPEN, MM_WOM_DONE, MM_WOM_DONE}) {
    std::vector<testing::DeviceMessage> more = window.RunUntil(MM_WOM_DONE, milliseconds(10000));
    ASSERT_FALSE(more.empty()) << "no buffer came back";
    messages.insert(messages.end(), more.begin(), more.end());
  }
  EXPECT_EQ(messages[1].Header(), &a.header);
  EXPECT_EQ(messages[2].Header(), &b.header);
  MMTIME time{};
  ASSERT_EQ(waveOutGetPosition(hwo, &time, sizeof(time)), MMSYSERR_NOERROR);
  EXPECT_EQ(time.u.cb, 192000u);
  ASSERT_EQ(waveOutClose(hwo), MMSYSERR_NOERROR);
  EXPECT_EQ(testing::Ids(window.Pump()), std::vector<UINT>{MM_WOM_CLOSE});
}

TEST_F(SystemDevicesTest, NullPcmFillsRecordBuffers) {
  UseSystemDevices("null");
  WAVEFORMATEX input = testing::PcmFormatOf(44100, 1, 16);
  HWAVEIN hwi = nullptr;
  ASSERT_EQ(waveInOpen(&hwi, WAVE_MAPPER, &input, window.Callback(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  Buffer a(std::vector<uint8_t>(4096));
  ASSERT_EQ(waveInPrepareHeader(hwi, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  ASSERT_EQ(waveInAddBuffer(hwi, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  ASSERT_EQ(waveInStart(hwi), MMSYSERR_NOERROR);
  std::vector<testing::DeviceMessage> messages = window.RunUntil(MM_WIM_DATA, milliseconds(10000));
  ASSERT_EQ(testing::Ids(messages), (std::vector<UINT>{MM_WIM_OPEN, MM_WIM_DATA}));
  EXPECT_EQ(a.header.dwBytesRecorded, 4096u);
  ASSERT_EQ(waveInReset(hwi), MMSYSERR_NOERROR);
  ASSERT_EQ(waveInClose(hwi), MMSYSERR_NOERROR);
  EXPECT_EQ(testing::Ids(window.Pump()), std::vector<UINT>{MM_WIM_CLOSE});
}

TEST_F(SystemDevicesTest, WithoutAPlaybackDeviceTheSilentDeviceStandsInSayingSoOnce) {
  UseSystemDevices(kMissingPcm);
  ::testing::internal::CaptureStderr();
  for (int i = 0; i < 2; ++i) {
    HWAVEOUT hwo = nullptr;
    ASSERT_EQ(waveOutOpen(&hwo, WAVE_MAPPER, &format, window.Callback(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutClose(hwo), MMSYSERR_NOERROR);
  }
  std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("playing silently in real time"), std::string::npos) << said;
  EXPECT_NE(said.find(kMissingPcm), std::string::npos) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line, and nothing from ALSA itself: " << said;
  EXPECT_EQ(testing::Ids(window.Pump()),
            (std::vector<UINT>{MM_WOM_OPEN, MM_WOM_CLOSE, MM_WOM_OPEN, MM_WOM_CLOSE}));
}

TEST_F(SystemDevicesTest, WithoutACaptureDeviceOpeningFails) {
  UseSystemDevices(kMissingPcm);
  WAVEFORMATEX input = testing::PcmFormatOf(44100, 1, 16);
  HWAVEIN hwi = nullptr;
  EXPECT_EQ(waveInOpen(&hwi, WAVE_MAPPER, &input, window.Callback(), 0, CALLBACK_WINDOW),
            static_cast<MMRESULT>(MMSYSERR_NODRIVER));
  EXPECT_TRUE(window.Pump().empty());
}

}  // namespace
}  // namespace morvex::wave
