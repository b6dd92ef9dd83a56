// Live input on the virtual-clock capture device fed with a known tone: the recorded blocks reach
// the FFT thread's analysis, the source format switches to the input's and back, and the
// transport waits until the device has closed.
#include "audio/live_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <string>

#include "analysis/spectrum_cycle.h"
#include "analysis/spectrum_frame.h"
#include "analysis/spectrum_view_samples.h"
#include "playback_test_rig.h"

namespace {

using playback_rig::Mono;
using playback_rig::Pattern;

// A tone on bin 46 of a 2048-point transform at 44100 Hz (990.5 Hz), 16-bit mono.
constexpr int32_t kToneBin = 46;
constexpr int32_t kFrame = 2048;

test_support::Bytes Tone(int32_t samples) {
  test_support::Bytes bytes;
  for (int32_t i = 0; i < samples; ++i) {
    const auto v = static_cast<int16_t>(std::lround(12000.0 * std::sin(2.0 * M_PI * kToneBin * i / kFrame)));
    bytes.push_back(static_cast<uint8_t>(v & 0xFF));
    bytes.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  return bytes;
}

struct SourceFields {
  WORD channels, blockAlign, bits;
  DWORD rate, bytesPerSecond;
  int32_t fullScale, analysisRate;
  bool operator==(const SourceFields&) const = default;
};

SourceFields Source() {
  const WAVEFORMATEX& f = SampleStore.format;
  return {f.nChannels, f.nBlockAlign, f.wBitsPerSample, f.nSamplesPerSec, f.nAvgBytesPerSec, SampleStore.fullScale,
          SampleStore.analysisRate};
}

constexpr SourceFields kInputSource = {1, 2, 16, 44100, 88200, 65536, 44100};
constexpr SourceFields kFileSource = {1, 1, 8, 8000, 8000, 256, 8000};

class LiveInputTest : public playback_rig::PlaybackRig {
 protected:
  void SetUp() override {
    PlaybackRig::SetUp();
    Settings.~SettingsRecord();
    new (&Settings) SettingsRecord();
    SamplesPerFrame = Settings.fftsample / Settings.zerofill;
    OpenSource(Mono(8, 8000), Pattern(400000));
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

  // The FFT thread's analysis cycle on what live input has handed over; the strongest bin.
  static int32_t AnalyseRecordedBlock() {
    const SpectrumFeed feed = MakeSpectrumFeed(SampleStore, Settings, playflag, inputRunning);
    SpectrumCycle cycle;
    if (LocateSpectrumFrame(feed, 0, &cycle) != SpectrumFrame::Ready) return -1;
    if (!TakeSpectrumBlock(feed, cycle, ComputePlayPosition(cycle.ahead))) return -2;
    TransformSpectrumBlock(cycle);
    FinishSpectrum(cycle);
    return static_cast<int32_t>(std::max_element(SpectrumBins + 1, SpectrumBins + cycle.n / 2) - SpectrumBins);
  }
};

TEST_F(LiveInputTest, TheRecordedToneIsAnalysedAndTheFileFormatReturnsAfterTheDeviceCloses) {
  ASSERT_EQ(Source(), kFileSource);
  clock_.FeedInput(Tone(44100).data(), 88200);
  StartInput(hwnd_);
  EXPECT_EQ(inputRunning, 1);
  EXPECT_EQ(playflag, 1);
  EXPECT_EQ(Source(), kInputSource);
  Pump();
  Run(100, 10);  // two blocks of 2048 samples (46 ms each) recorded
  EXPECT_EQ(SampleStore.inputReady, 1);
  EXPECT_EQ(AnalyseRecordedBlock(), kToneBin);
  EXPECT_EQ(SampleStore.inputReady, 0);
  // The waveform view gets the recorded samples.
  const test_support::Bytes tone = Tone(kFrame);
  EXPECT_NE(ViewLeft[10].load(), 0);
  EXPECT_EQ(std::abs(ViewLeft[10].load()), std::abs(static_cast<int16_t>(tone[20] | tone[21] << 8)));

  // The transport waits while input runs, until the device has closed.
  Play();
  SeekForward5s();
  Pause();
  Stop();
  EXPECT_EQ(DevicesOpened(), 1u);
  EXPECT_EQ(playflag, 1);
  EXPECT_EQ(SampleStore.seekBase, 0);
  StopInput();
  EXPECT_EQ(playflag, 0);
  EXPECT_EQ(inputRunning, 1);
  Play();
  EXPECT_EQ(DevicesOpened(), 1u);
  Run(200, 10);  // both buffers come back; the second closes the device
  EXPECT_EQ(inputRunning, 0);
  EXPECT_EQ(WaveInDevice.load(), nullptr);
  EXPECT_EQ(Source(), kFileSource);
  Play();
  EXPECT_EQ(DevicesOpened(), 2u);
  EXPECT_EQ(playflag, 1);
}

// The size chosen before the start is put in force and recorded whole: the block has no silent tail.
TEST_F(LiveInputTest, ABlockIsTheWholeFrameOfTheSizeChosenBeforeTheStart) {
  Settings.fftsampleRequested = 4096;
  clock_.FeedInput(Tone(44100).data(), 88200);
  StartInput(hwnd_);
  EXPECT_EQ(Settings.fftsample, 4096);
  Pump();
  Run(200, 10);
  int32_t silentTail = 0;
  for (int32_t i = 4096; i < 8192; i += 2) silentTail += SampleStore.inputStage[i] == 0 && SampleStore.inputStage[i + 1] == 0;
  EXPECT_LT(silentTail, 10);
}

TEST_F(LiveInputTest, StartIsIgnoredWhilePlayingPausedOrClosing) {
  struct Case {
    const char* name;
    std::atomic<int32_t>* flag;
  };
  const Case cases[] = {{"playing", &playflag}, {"pause to resume", &resumePending}, {"closing", &inputRunning}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    *c.flag = 1;
    StartInput(hwnd_);
    EXPECT_EQ(WaveInDevice.load(), nullptr);
    EXPECT_EQ(Source(), kFileSource);
    *c.flag = 0;
  }
}

TEST_F(LiveInputTest, WithoutACaptureDeviceTheFileStaysAndPlays) {
  morvex::wave::UseSystemDevices("morvex_no_such_device");  // silent playback, no capture
  testing::internal::CaptureStderr();
  StartInput(hwnd_);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("waveinopen fail"), std::string::npos) << said;
  EXPECT_EQ(Source(), kFileSource);
  EXPECT_EQ(inputRunning, 0);
  EXPECT_EQ(playflag, 0);
  Play();
  EXPECT_EQ(playflag, 1);
  EXPECT_NE(WaveOutDevice.load(), nullptr);
}

}  // namespace
