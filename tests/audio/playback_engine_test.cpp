// The playback engine on the virtual clock: what the drive test's long file never reaches.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "analysis/window_function.h"
#include "audio/playback.h"
#include "playback_test_rig.h"
#include "shared/sample_store.h"
#include "shared/sg_control.h"
#include "shared/spectrum_frame.h"

namespace {

using playback_rig::Bytes;
using playback_rig::messages;
using playback_rig::Pattern;

constexpr int32_t kSecond = 8000;  // bytes: the rig's 8-bit mono at 8000 Hz
const MMRESULT kClosed = MMSYSERR_INVALHANDLE;

using PlaybackEngineTest = playback_rig::PlaybackRig;

// Short, one buffer long and refilled files; the device closes once every buffer has come back.
TEST_F(PlaybackEngineTest, FirstFillRefillsAndTheEndOfTheFile) {
  const struct {
    size_t bytes;
    uint16_t bits;
    DWORD lengthB;
    int32_t buff, eflag;
    int64_t endMs;
    size_t doneCount;
  } cases[] = {
      {50000, 8, 0, 1, 1, 6250, 2},
      {300000, 16, kPlayBufferBytes, 2, 0, 48000, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.bytes) + " bytes of " + std::to_string(c.bits) + " bits");
    SetUp();
    const Bytes samples = Pattern(c.bytes);
    const char silence = c.bits == 8 ? static_cast<char>(128) : 0;
    OpenSource(playback_rig::Mono(c.bits, c.bits == 8 ? 8000 : 4000), samples);
    Start();
    const DWORD lengthA = std::min<DWORD>(c.bytes, kPlayBufferBytes);
    EXPECT_EQ(std::tuple(SampleStore.headerA.dwBufferLength, SampleStore.headerB.dwBufferLength),
              std::tuple(lengthA, c.lengthB));
    // The views read up to the buffer's end: after the file it holds the format's silence.
    EXPECT_TRUE(std::all_of(SampleStore.bufferA + lengthA, SampleStore.bufferA + kPlayBufferBytes,
                            [&](char v) { return v == silence; }));
    EXPECT_EQ(std::tuple(buff.load(), eflag.load(), SampleStore.writtenEnd.load()),
              std::tuple(c.buff, c.eflag, c.buff * kPlayBufferBytes));  // an empty buffer B is not counted
    EXPECT_EQ(SampleStore.lastWritten, c.buff == 1 ? kPlayBufferA : kPlayBufferB);
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

// Stop while paused starts over; seeks while stopped only move the place; play puts a new FFT size
// in force and only a new one rebuilds the window.
TEST_F(PlaybackEngineTest, TransportCommandsWhileStoppedOrPaused) {
  const Bytes samples = Pattern(400000);
  OpenSource(samples);
  Start();
  Run(2000);
  Pause();
  EXPECT_EQ(SampleStore.seekBase, 2 * kSecond);
  Pump();
  SgControl.clearRequest = 0;
  Stop();
  EXPECT_EQ(SampleStore.seekBase + playPaused, 0);
  EXPECT_EQ(std::tuple(resumePending.load(), SgControl.clearRequest.load()), std::tuple(1, 1));
  SeekBack5s();
  EXPECT_EQ(SampleStore.seekBase, 0) << "not negative";
  SeekForward5s();
  SeekForward5s();
  SeekBack5s();
  EXPECT_EQ(SampleStore.seekBase, 5 * kSecond);
  endCount = SgControl.endOfData = 1;
  settings_.zerofill = 2;
  settings_.fftsampleRequested = 1024;
  SgControl.clearRequest = WindowRebuild = 0;
  Play();
  Pump();
  EXPECT_EQ(endCount, 0);
  EXPECT_EQ(SgControl.endOfData, 1) << "only the FFT thread's marker lets play clear it";
  EXPECT_EQ(std::tuple(settings_.fftsample.load(), SamplesPerFrame.load(), WindowRebuild + SgControl.clearRequest),
            std::tuple(1024, 512, 2));
  Run(1000);
  EXPECT_EQ(Heard(1), playback_rig::Slice(samples, 5 * kSecond, kSecond));
  Stop();
  Pump();
  endOfDataMarker = 1;
  settings_.fftradix4flagRequested = 1;
  SgControl.clearRequest = WindowRebuild = 0;
  Play();
  Stop();  // handled before the device's open message: the new device closes unplayed
  Pump();
  Run(1000);
  EXPECT_EQ(std::tuple(SgControl.endOfData.load(), settings_.fftradix4flag.load(), WindowRebuild.load()),
            std::tuple(0, 1, 0));
  EXPECT_TRUE(Heard(2).empty());
  EXPECT_EQ(waveOutReset(WaveOutDevice), kClosed);
}

// Jumps keep whole frames of the halved rate; past the end the next play ends at once; a device
// that cannot open stops play, or ends the process at creation.
TEST_F(PlaybackEngineTest, JumpsPastTheEndAndADeviceThatCannotOpen) {
  OpenSource(playback_rig::Mono(16, 11025), Pattern(100000));
  Start();
  Stop();
  Pump();
  speedHalf = 1;
  Play();  // the format now says (11025 x 2) / 2 = 11025 bytes a second
  Stop();
  Pump();
  SeekForward5s();
  EXPECT_EQ(SampleStore.seekBase, 55124) << "5 x 11025 rounded down to whole 2-byte frames";
  SeekForward5s();
  EXPECT_EQ(SampleStore.seekBase, 110248) << "no upper limit";
  Play();
  Pump();
  EXPECT_EQ(SampleStore.headerA.dwBufferLength + SampleStore.headerB.dwBufferLength, 0u);
  Run(1);
  EXPECT_EQ(playflag + SampleStore.seekBase, 0);
  EXPECT_TRUE(Heard(2).empty());
  std::fclose(SampleStore.file);
  OpenSource(playback_rig::Mono(8, 1), Pattern(1000));  // half of 1 Hz is no rate at all
  resumePending = 1;
  testing::internal::CaptureStderr();
  Play();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("[] dont open wave device.\nerrorcode=32"), std::string::npos) << said;
  EXPECT_EQ(playflag + resumePending, 0) << "the pending resume is given up";
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  SampleStore.format.wBitsPerSample = 24;
  EXPECT_EXIT(StartPlaybackAtCreation(hwnd_, &settings_), testing::ExitedWithCode(1),
              "\\[\\] dont open wave device\\.");
}

}  // namespace
