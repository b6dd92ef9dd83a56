// The transport commands on the virtual clock: where playback continues after a pause, a stop or
// a jump, and which commands a state ignores.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "analysis/spectrum_frame.h"
#include "analysis/window_function.h"
#include "audio/playback.h"
#include "audio/sample_store.h"
#include "playback_test_rig.h"
#include "spectrogram/sg_control.h"

namespace {

using playback_rig::Bytes;
using playback_rig::Pattern;
using playback_rig::Slice;
using playback_rig::messages;

constexpr int32_t kSecond = 8000;  // bytes: the rig's 8-bit mono at 8000 Hz
const MMRESULT kClosed = MMSYSERR_INVALHANDLE;

class PlaybackTransportTest : public playback_rig::PlaybackRig {
 protected:
  void StartWith(size_t bytes) {
    samples_ = Pattern(bytes);
    OpenSource(samples_);
    Start();
  }
  void StopAndPump() {
    Stop();
    Pump();
  }
  void PlayAndPump() {
    Play();
    Pump();
  }
  Bytes samples_;
};

TEST_F(PlaybackTransportTest, PauseStopAndSeekMoveWherePlayContinues) {
  StartWith(400000);
  Run(5000);
  Pause();
  EXPECT_EQ(SampleStore.seekBase, 5 * kSecond);
  EXPECT_EQ(resumePending + playPaused + eflag, 3);
  EXPECT_EQ(playflag + buff, 0);
  Pump();
  EXPECT_EQ(messages, (std::vector<UINT>{MM_WOM_OPEN, MM_WOM_DONE, MM_WOM_DONE, MM_WOM_CLOSE}));
  Play();
  EXPECT_EQ(resumePending, 0);
  EXPECT_EQ(SampleStore.writtenEnd, 5 * kSecond) << "the device's bytes count from seekBase";
  EXPECT_EQ(playflag, 1);
  Pump();
  Run(2000);
  EXPECT_EQ(Heard(0), Slice(samples_, 0, 5 * kSecond));
  EXPECT_EQ(Heard(1), Slice(samples_, 5 * kSecond, 2 * kSecond));
  Pause();
  EXPECT_EQ(SampleStore.seekBase, 7 * kSecond) << "a second pause adds the new device's position";
  Pump();
  // A stop while paused starts over from the beginning.
  lasterror = 0;
  SgControl.clearRequest = 0;
  Stop();
  EXPECT_EQ(SampleStore.seekBase, 0);
  EXPECT_EQ(playPaused, 0);
  EXPECT_EQ(resumePending, 1) << "left as it was";
  EXPECT_EQ(SgControl.clearRequest, 1);
  EXPECT_EQ(lasterror, static_cast<uint32_t>(kClosed)) << "the reset found the device closed";
  // Seeks while stopped only move the place.
  SeekForward5s();
  SeekForward5s();
  SeekBack5s();
  EXPECT_EQ(SampleStore.seekBase, 5 * kSecond);
  EXPECT_EQ(DevicesOpened(), 2u);
  PlayAndPump();
  Run(1000);
  EXPECT_EQ(Heard(2), Slice(samples_, 5 * kSecond, kSecond));
}

TEST_F(PlaybackTransportTest, JumpsKeepWholeFramesAndPastTheEndTheNextPlayEndsAtOnce) {
  OpenSource(playback_rig::Mono(16, 11025), Pattern(100000));
  Start();
  StopAndPump();
  speedHalf = 1;
  Play();  // the format now says (11025 x 2) / 2 = 11025 bytes a second
  StopAndPump();
  SeekForward5s();
  EXPECT_EQ(SampleStore.seekBase, 55124) << "5 x 11025 rounded down to whole 2-byte frames";
  SeekForward5s();
  EXPECT_EQ(SampleStore.seekBase, 110248) << "no upper limit";
  PlayAndPump();
  EXPECT_EQ(SampleStore.headerA.dwBufferLength, 0u);
  EXPECT_EQ(SampleStore.headerB.dwBufferLength, 0u);
  Run(1);
  EXPECT_EQ(playflag, 0);
  EXPECT_EQ(SampleStore.seekBase, 0);
  EXPECT_TRUE(Heard(2).empty());
}

TEST_F(PlaybackTransportTest, StopAndDestructionHandTheBuffersBackAndCloseTheDevice) {
  StartWith(400000);
  Run(1000);
  SgControl.column = 17;
  SgControl.returnedOnce = 1;
  Stop();
  EXPECT_EQ(playflag, 0);
  EXPECT_EQ(eflag, 1);
  EXPECT_EQ(SgControl.column + SgControl.returnedOnce, 0);
  Pump();
  EXPECT_EQ(messages, (std::vector<UINT>{MM_WOM_OPEN, MM_WOM_DONE, MM_WOM_DONE, MM_WOM_CLOSE}));
  EXPECT_EQ(SampleStore.lastWritten, kPlayBufferB) << "the views keep the last sound";

  Play();
  Stop();  // handled before the device's open message: the new device closes unplayed
  Pump();
  Run(1000);
  EXPECT_TRUE(Heard(1).empty());
  EXPECT_EQ(waveOutReset(WaveOutDevice), kClosed);

  PlayAndPump();
  Run(1000);
  StopPlaybackAtDestruction();
  EXPECT_EQ(playflag, 0);
  EXPECT_EQ(eflag, 1);
  EXPECT_EQ(waveOutReset(WaveOutDevice), kClosed);
  Run(1000);
  EXPECT_EQ(Heard(2).size(), static_cast<size_t>(kSecond)) << "nothing plays on";
  // Also after a close request has already cleared playflag.
  PlayAndPump();
  ASSERT_EQ(DevicesOpened(), 4u);
  playflag = 0;
  StopPlaybackAtDestruction();
  EXPECT_EQ(waveOutReset(WaveOutDevice), kClosed);
}

TEST_F(PlaybackTransportTest, CommandsThatDoNotFitTheStateAreIgnored) {
  StartWith(400000);
  Play();
  EXPECT_EQ(DevicesOpened(), 1u) << "play while playing";
  StopAndPump();
  Pause();
  EXPECT_EQ(resumePending + playPaused, 0) << "pause while stopped";
  inputRunning = 1;
  SampleStore.seekBase = 16000;
  Play();
  EXPECT_EQ(DevicesOpened(), 1u);
  EXPECT_EQ(playflag, 0);
  Stop();
  SeekForward5s();
  SeekBack5s();
  EXPECT_EQ(SampleStore.seekBase, 16000);
  EXPECT_EQ(resumePending, 0);
}

TEST_F(PlaybackTransportTest, PlayResetsTheEndBookkeepingOpensAtTheChosenRateAndPutsTheChosenFftSizeInForce) {
  StartWith(400000);
  StopAndPump();
  endCount = 1;
  SgControl.endOfData = 1;
  Play();
  EXPECT_EQ(endCount, 0);
  EXPECT_EQ(SgControl.endOfData, 1) << "only the FFT thread's marker lets play clear it";
  StopAndPump();
  endOfDataMarker = speedHalf = 1;  // the chosen rate wins over half speed
  settings_.playfreqoptional = 16000;
  settings_.zerofill = 2;
  settings_.fftsampleRequested = 1024;
  settings_.fftradix4flagRequested = 1;
  SgControl.clearRequest = WindowRebuild = 0;
  PlayAndPump();
  EXPECT_EQ(SgControl.endOfData, 0);
  EXPECT_EQ(SampleStore.format.nAvgBytesPerSec, 16000u);
  EXPECT_EQ(std::tuple(settings_.fftsample.load(), settings_.fftradix4flag.load(), SamplesPerFrame.load()),
            std::tuple(1024, 1, 512));
  EXPECT_EQ(WindowRebuild + SgControl.clearRequest, 2);
  Run(1000);
  EXPECT_EQ(Position(), 16000) << "the device runs at 16000 Hz";
  // The same size again only takes the radix over; without a chosen rate the file's returns.
  StopAndPump();
  settings_.fftradix4flagRequested = settings_.playfreqoptional = speedHalf = SgControl.clearRequest = WindowRebuild = 0;
  Play();
  EXPECT_EQ(settings_.fftradix4flag + WindowRebuild + SgControl.clearRequest, 0);
  EXPECT_EQ(SampleStore.format.nSamplesPerSec, 8000u);
}

TEST_F(PlaybackTransportTest, ADeviceThatCannotOpenStopsPlayOrEndsTheProcessAtCreation) {
  OpenSource(playback_rig::Mono(8, 1), Pattern(1000));  // half of 1 Hz is no rate at all
  Start();
  Pause();
  Pump();
  speedHalf = 1;
  testing::internal::CaptureStderr();
  Play();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("[] dont open wave device.\nerrorcode=32"), std::string::npos) << said;
  EXPECT_EQ(playflag, 0);
  EXPECT_EQ(resumePending, 0) << "the pending resume is given up";
  EXPECT_EQ(DevicesOpened(), 1u);

  GTEST_FLAG_SET(death_test_style, "threadsafe");
  SampleStore.format.wBitsPerSample = 24;
  EXPECT_EXIT(StartPlaybackAtCreation(hwnd_, &settings_), testing::ExitedWithCode(1), "\\[\\] dont open wave device\\.");
}

}  // namespace
