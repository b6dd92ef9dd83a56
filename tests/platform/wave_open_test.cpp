#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/wave/device_selection.h"
#include "platform/wave/frame_clock.h"
#include "tests/platform/recording_window.h"

namespace morvex::wave {
namespace {

WAVEFORMATEX PcmFormatOf(DWORD rate, WORD channels, WORD bits) {
  const WORD block = static_cast<WORD>(channels * bits / 8);
  return {WAVE_FORMAT_PCM, channels, rate, rate * block, block, bits, 0};
}

// Formats the device cannot play are refused and post nothing; without a playback device the
// silent device stands in, saying so once on one line.
TEST(WaveOpenTest, RefusesWhatTheDeviceCannotPlayAndFallsBackToTheSilentDevice) {
  HWND hwnd = morvex::testing::CreateRecorded("wave", 0, 0, 100, 100);
  auto open = [hwnd](const WAVEFORMATEX& format) {
    HWAVEOUT hwo = nullptr;
    const MMRESULT result =
        waveOutOpen(&hwo, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(hwnd), 0, CALLBACK_WINDOW);
    return result == MMSYSERR_NOERROR ? waveOutClose(hwo) : result;
  };
  WAVEFORMATEX wideSamples = PcmFormatOf(44100, 2, 24), badAlign = PcmFormatOf(44100, 2, 16);
  WAVEFORMATEX floats = badAlign;
  badAlign.nBlockAlign = 2;
  floats.wFormatTag = 3;
  constexpr char kMissingPcm[] = "morvex_no_such_pcm";
  UseSystemDevices(kMissingPcm);
  ::testing::internal::CaptureStderr();
  for (const WAVEFORMATEX* format : {&wideSamples, &badAlign, &floats}) {
    EXPECT_EQ(open(*format), static_cast<MMRESULT>(WAVERR_BADFORMAT));
  }
  EXPECT_EQ(open(PcmFormatOf(8000, 1, 8)), MMSYSERR_NOERROR);
  EXPECT_EQ(open(PcmFormatOf(48000, 2, 16)), MMSYSERR_NOERROR);
  const std::string said = ::testing::internal::GetCapturedStderr();
  UseSystemDevices();
  EXPECT_NE(said.find("playing silently in real time"), std::string::npos) << said;
  EXPECT_NE(said.find(kMissingPcm), std::string::npos) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line, and nothing from ALSA itself: " << said;
  morvex::testing::Pump();
  EXPECT_EQ(morvex::testing::MessagesOf(hwnd, {MM_WOM_OPEN, MM_WOM_CLOSE}),
            (std::vector<UINT>{MM_WOM_OPEN, MM_WOM_CLOSE, MM_WOM_OPEN, MM_WOM_CLOSE}));
  DestroyWindow(hwnd);
}

TEST(FramesInNanosTest, LongStreamsDoNotOverflow) {
  const int64_t tenDays = 10LL * 24 * 3600 * 1000000000;
  EXPECT_EQ(FramesInNanos(tenDays + 500000000, 192000), 10LL * 24 * 3600 * 192000 + 96000);
}

}  // namespace
}  // namespace morvex::wave
