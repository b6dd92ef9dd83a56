// The playback engine and its transport on the virtual clock; the drive test hears every mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <tuple>

#include "analysis/spectrum_frame.h"
#include "analysis/window_function.h"
#include "audio/playback.h"
#include "audio/sample_store.h"
#include "playback_test_rig.h"
#include "spectrogram/sg_control.h"

namespace {

using playback_rig::Bytes;
using playback_rig::messages;
using playback_rig::Pattern;
using playback_rig::Slice;

constexpr int32_t kSecond = 8000;  // bytes: the rig's 8-bit mono at 8000 Hz
const MMRESULT kClosed = MMSYSERR_INVALHANDLE;

class PlaybackEngineTest : public playback_rig::PlaybackRig {
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

// Short, one buffer long and refilled files; the device closes once every buffer has come back.
TEST_F(PlaybackEngineTest, FirstFillRefillsAndTheEndOfTheFile) {
  const struct {
    size_t bytes;
    uint16_t bits;
    DWORD lengthA, lengthB;
    int32_t buff, lastWritten, writtenEnd, eflag;
    int64_t endMs;
    size_t doneCount;
  } cases[] = {
      {50000, 8, 50000, 0, 1, kPlayBufferA, kPlayBufferBytes, 1, 6250, 2},
      {kPlayBufferBytes, 8, kPlayBufferBytes, 0, 2, kPlayBufferB, 2 * kPlayBufferBytes, 1, 16000, 2},
      {300000, 8, kPlayBufferBytes, kPlayBufferBytes, 2, kPlayBufferB, 2 * kPlayBufferBytes, 0, 48000, 3},
      {300000, 16, kPlayBufferBytes, kPlayBufferBytes, 2, kPlayBufferB, 2 * kPlayBufferBytes, 0, 48000, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.bytes) + " bytes of " + std::to_string(c.bits) + " bits");
    SetUp();
    const Bytes samples = Pattern(c.bytes);
    const char silence = c.bits == 8 ? static_cast<char>(128) : 0;
    OpenSource(playback_rig::Mono(c.bits, c.bits == 8 ? 8000 : 4000), samples);
    Start();
    EXPECT_EQ(SampleStore.headerA.dwBufferLength, c.lengthA);
    EXPECT_EQ(SampleStore.headerB.dwBufferLength, c.lengthB);
    // The views read up to the buffer's end: after the file it holds the format's silence.
    EXPECT_TRUE(std::all_of(SampleStore.bufferA + c.lengthA, SampleStore.bufferA + kPlayBufferBytes,
                            [&](char v) { return v == silence; }));
    EXPECT_EQ(buff, c.buff) << "an empty buffer B is not counted";
    EXPECT_EQ(SampleStore.lastWritten, c.lastWritten);
    EXPECT_EQ(SampleStore.writtenEnd, c.writtenEnd);
    EXPECT_EQ(eflag, c.eflag);
    std::vector<UINT> expected(c.doneCount + 2, MM_WOM_DONE);
    expected.front() = MM_WOM_OPEN;
    expected.back() = MM_WOM_CLOSE;
    Run(c.endMs - 1);
    EXPECT_EQ(playflag, 1) << "draining";
    EXPECT_EQ(messages.back(), c.doneCount == 3 ? MM_WOM_DONE : MM_WOM_OPEN);
    Run(1);
    EXPECT_EQ(messages, expected);
    EXPECT_EQ(playflag + SampleStore.seekBase + playPaused + SgControl.column + SgControl.returnedOnce, 0);
    EXPECT_EQ(SgControl.clearRequest, 1);
    Bytes heard = samples;
    heard.resize(std::max<size_t>(c.bytes, c.doneCount == 3 ? 3 * kPlayBufferBytes : 0), silence);
    EXPECT_EQ(Heard(DevicesOpened() - 1), heard) << "the refill's silence after the end is the format's own";
    TearDown();
  }
}

TEST_F(PlaybackEngineTest, RefillWaitsWhileTheFftThreadCopies) {
  OpenSource(Pattern(400000));
  Start();
  SampleStore.readerBusy = 1;
  std::atomic<int32_t> buffWhileCopying{0};
  std::atomic<int32_t> writerBusyWhileCopying{0};
  std::thread reader([&] {
    Sleep(200);  // far longer than the clock needs to reach the refill
    buffWhileCopying = buff.load();
    writerBusyWhileCopying = SampleStore.writerBusy.load();
    SampleStore.readerBusy = 0;
  });
  Run(16000);
  reader.join();
  EXPECT_EQ(buffWhileCopying, 2) << "the refill must not rewrite a buffer while the reader copies";
  EXPECT_EQ(writerBusyWhileCopying, 0);
  EXPECT_EQ(buff, 3) << "and it goes on once the reader is done";
  EXPECT_EQ(SampleStore.writerBusy, 0);
}

// A stop while paused starts over from the beginning; seeks while stopped only move the place; a
// stop right behind a play closes the new device unplayed.
TEST_F(PlaybackEngineTest, StopWhilePausedAndSeeksWhileStopped) {
  StartWith(400000);
  Run(2000);
  Pause();
  EXPECT_EQ(SampleStore.seekBase, 2 * kSecond);
  Pump();
  lasterror = 0;
  SgControl.clearRequest = 0;
  Stop();
  EXPECT_EQ(SampleStore.seekBase + playPaused, 0);
  EXPECT_EQ(resumePending, 1) << "left as it was";
  EXPECT_EQ(SgControl.clearRequest, 1);
  EXPECT_EQ(lasterror, static_cast<uint32_t>(kClosed)) << "the reset found the device closed";
  SeekBack5s();
  EXPECT_EQ(SampleStore.seekBase, 0) << "not negative";
  SeekForward5s();
  SeekForward5s();
  SeekBack5s();
  EXPECT_EQ(SampleStore.seekBase, 5 * kSecond);
  EXPECT_EQ(DevicesOpened(), 1u);
  PlayAndPump();
  Run(1000);
  EXPECT_EQ(Heard(1), Slice(samples_, 5 * kSecond, kSecond));
  StopAndPump();
  Play();
  Stop();  // handled before the device's open message: the new device closes unplayed
  Pump();
  Run(1000);
  EXPECT_TRUE(Heard(2).empty());
  EXPECT_EQ(waveOutReset(WaveOutDevice), kClosed);
}

TEST_F(PlaybackEngineTest, JumpsKeepWholeFramesAndPastTheEndTheNextPlayEndsAtOnce) {
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

TEST_F(PlaybackEngineTest, CommandsThatDoNotFitTheStateAreIgnored) {
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

// Play resets the end bookkeeping; the window is rebuilt and the spectrogram cleared only for a new size.
TEST_F(PlaybackEngineTest, PlayResetsTheEndBookkeepingAndPutsTheChosenSizeInForce) {
  StartWith(400000);
  StopAndPump();
  endCount = SgControl.endOfData = 1;
  Play();
  EXPECT_EQ(endCount, 0);
  EXPECT_EQ(SgControl.endOfData, 1) << "only the FFT thread's marker lets play clear it";
  StopAndPump();
  endOfDataMarker = 1;
  settings_.zerofill = 2;
  settings_.fftsampleRequested = 1024;
  SgControl.clearRequest = WindowRebuild = 0;
  PlayAndPump();
  EXPECT_EQ(SgControl.endOfData, 0);
  EXPECT_EQ(std::tuple(settings_.fftsample.load(), SamplesPerFrame.load(), WindowRebuild + SgControl.clearRequest),
            std::tuple(1024, 512, 2));
  StopAndPump();
  settings_.fftradix4flagRequested = 1;
  SgControl.clearRequest = WindowRebuild = 0;
  Play();
  EXPECT_EQ(settings_.fftradix4flag.load(), 1);
  EXPECT_EQ(WindowRebuild + SgControl.clearRequest, 0);
}

TEST_F(PlaybackEngineTest, ADeviceThatCannotOpenStopsPlayOrEndsTheProcessAtCreation) {
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
  EXPECT_EXIT(StartPlaybackAtCreation(hwnd_, &settings_), testing::ExitedWithCode(1),
              "\\[\\] dont open wave device\\.");
}

}  // namespace
