// Live input on the virtual-clock capture device fed with a known tone.
#include "audio/live_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <string>
#include <tuple>

#include "analysis/spectrum_cycle.h"
#include "playback_test_rig.h"
#include "shared/spectrum_frame.h"
#include "shared/spectrum_view_samples.h"

namespace {

// A tone on bin 46 of a 2048-point transform at 44100 Hz, 16-bit mono.
test_support::Bytes Tone(int32_t samples) {
  test_support::Bytes bytes;
  for (int32_t i = 0; i < samples; ++i) {
    const auto v = static_cast<int16_t>(std::lround(12000.0 * std::sin(2.0 * M_PI * 46 * i / 2048)));
    bytes.push_back(static_cast<uint8_t>(v & 0xFF));
    bytes.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  return bytes;
}

// Channels, bits, rate, full scale and analysis rate of the source.
std::vector<int64_t> Source() {
  const WAVEFORMATEX& f = SampleStore.format;
  return {f.nChannels,       f.nBlockAlign,         f.wBitsPerSample,        f.nSamplesPerSec,
          f.nAvgBytesPerSec, SampleStore.fullScale, SampleStore.analysisRate};
}
const std::vector<int64_t> kInputSource = {1, 2, 16, 44100, 88200, 65536, 44100};
const std::vector<int64_t> kFileSource = {1, 1, 8, 8000, 8000, 256, 8000};

class LiveInputTest : public playback_rig::PlaybackRig {
 protected:
  void SetUp() override {
    PlaybackRig::SetUp();
    Settings.~SettingsRecord();
    new (&Settings) SettingsRecord();
    SamplesPerFrame = Settings.fftsample / Settings.zerofill;
    OpenSource(playback_rig::Mono(8, 8000), playback_rig::Pattern(400000));
    Start();  // the program as it starts, then stopped
    Stop();
    Run(100, 10);
    SampleStore.writtenEnd = SampleStore.dataSize;  // as a file played to its end leaves it
    inputStop = 0;
  }
  void TearDown() override {
    StopInputAtDestruction();
    Pump();
    PlaybackRig::TearDown();
  }
};

// Recorded blocks of the size chosen before the start reach the analysis and the views whole (no
// silent tail); the input's format stays until the device closes.
TEST_F(LiveInputTest, TheRecordedToneIsAnalysedAndTheFileFormatReturnsAfterTheDeviceCloses) {
  ASSERT_EQ(Source(), kFileSource);
  Settings.fftsampleRequested = 4096;
  clock_.FeedInput(Tone(44100).data(), 88200);
  StartInput(hwnd_);
  EXPECT_EQ(std::tuple(inputRunning + playflag, Settings.fftsample.load()), std::tuple(2, 4096));
  EXPECT_EQ(Source(), kInputSource);
  Pump();
  Run(200, 10);  // two blocks of 4096 samples (93 ms each) recorded
  EXPECT_EQ(SampleStore.inputReady, 1);
  int32_t silentTail = 0;
  for (int32_t i = 4096; i < 8192; i += 2)
    silentTail += SampleStore.inputStage[i] == 0 && SampleStore.inputStage[i + 1] == 0;
  EXPECT_LT(silentTail, 10);
  const SpectrumFeed feed = MakeSpectrumFeed(SampleStore, Settings, playflag, inputRunning);
  SpectrumCycle cycle;
  ASSERT_EQ(LocateSpectrumFrame(feed, 0, &cycle), SpectrumFrame::Ready);
  ASSERT_TRUE(TakeSpectrumBlock(feed, cycle, ComputePlayPosition(cycle.ahead)));
  TransformSpectrumBlock(cycle);
  FinishSpectrum(cycle);
  EXPECT_EQ(std::max_element(SpectrumBins + 1, SpectrumBins + cycle.n / 2) - SpectrumBins, 92);
  EXPECT_EQ(SampleStore.inputReady, 0);
  const test_support::Bytes tone = Tone(4096);  // the block's samples, signed, reach the waveform view
  for (int32_t i = 0; i < 4096; ++i)
    ASSERT_EQ(ViewLeft[i].load(), static_cast<int16_t>(tone[2 * i] | tone[2 * i + 1] << 8)) << i;
  Play();
  SeekForward5s();
  Pause();
  Stop();
  EXPECT_EQ(std::tuple(DevicesOpened(), playflag.load(), SampleStore.seekBase.load()), std::tuple(1u, 1, 0));
  StopInput();
  EXPECT_EQ(std::tuple(playflag.load(), inputRunning.load()), std::tuple(0, 1));
  Play();
  EXPECT_EQ(DevicesOpened(), 1u);
  Run(200, 10);  // both buffers come back; the second closes the device
  EXPECT_EQ(inputRunning, 0);
  EXPECT_EQ(WaveInDevice.load(), nullptr);
  EXPECT_EQ(Source(), kFileSource);
  Play();
  EXPECT_EQ(DevicesOpened(), 2u);
}

// Without a capture device the file stays and plays.
TEST_F(LiveInputTest, WithoutACaptureDeviceTheFileStaysAndPlays) {
  morvex::wave::UseSystemDevices("morvex_no_such_device");
  testing::internal::CaptureStderr();
  StartInput(hwnd_);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("waveinopen fail"), std::string::npos) << said;
  EXPECT_EQ(Source(), kFileSource);
  EXPECT_EQ(inputRunning + playflag, 0);
  Play();
  EXPECT_EQ(playflag, 1);
  EXPECT_NE(WaveOutDevice.load(), nullptr);
}

}  // namespace
