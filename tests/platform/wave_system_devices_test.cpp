// The system devices through ALSA on a PCM name that no configuration defines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/wave/device_selection.h"
#include "platform/win32.h"
#include "wave_test_window.h"

namespace morvex::wave {
namespace {

constexpr char kMissingPcm[] = "morvex_no_such_pcm";

class SystemDevicesTest : public ::testing::Test {
 protected:
  void TearDown() override { UseSystemDevices(); }
  testing::WaveTestWindow window;
  WAVEFORMATEX format = testing::PcmFormatOf(44100, 2, 16);
};

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
