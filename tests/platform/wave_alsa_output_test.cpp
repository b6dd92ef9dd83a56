// The ALSA playback stream against a fake PCM device: the position arithmetic (frames
// delivered minus ALSA's delay) across partial writes, underruns, pause and drop, and the
// order of returned buffers when the wave-out device thread drives it.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/wave/alsa_output.h"
#include "platform/wave/output_device.h"
#include "wave_fake_pcm.h"
#include "wave_test_window.h"

namespace morvex::wave {
namespace {

using std::chrono::milliseconds;

constexpr PcmFormat kFormat{8000, 1, 16};  // 2 bytes a frame

std::vector<uint8_t> Counting(int64_t frames, uint8_t first) {
  return testing::Counting(static_cast<size_t>(frames * 2), first);
}

class AlsaOutputTest : public ::testing::Test {
 protected:
  void Make(int64_t capacity, bool canPause = true) {
    device = std::make_shared<testing::FakeDevice>(capacity, 2, canPause);
    output = std::make_unique<AlsaOutput>(std::make_unique<testing::FakePcm>(device), kFormat);
  }
  // Writes as the wave-out device does: as much as the stream takes, counting it delivered.
  int64_t Deliver(const std::vector<uint8_t>& bytes, int64_t fromFrame = 0) {
    int64_t taken = output->Write(bytes.data() + fromFrame * 2, static_cast<int64_t>(bytes.size()) / 2 - fromFrame);
    delivered += taken;
    return taken;
  }
  int64_t Heard() { return delivered - output->Delay(); }

  std::shared_ptr<testing::FakeDevice> device;
  std::unique_ptr<AlsaOutput> output;
  int64_t delivered = 0;
};

TEST_F(AlsaOutputTest, HeardFramesAreTheDeliveredOnesLessTheDelay) {
  Make(100);
  std::vector<uint8_t> sound = Counting(150, 0);
  EXPECT_EQ(Deliver(sound), 100) << "the stream takes what its buffer holds";
  EXPECT_EQ(Heard(), 0);
  device->Play(30);
  EXPECT_EQ(Heard(), 30);
  EXPECT_EQ(Deliver(sound, 100), 30);
  EXPECT_EQ(Deliver(sound, 130), 0) << "a full stream takes nothing and does not block";
  device->Play(70);
  EXPECT_EQ(Heard(), 100);
}

TEST_F(AlsaOutputTest, UnderrunIsRecoveredWithoutLosingCount) {
  Make(100);
  std::vector<uint8_t> first = Counting(50, 0), second = Counting(20, 100);
  Deliver(first);
  device->Play(80);  // runs dry
  ASSERT_EQ(device->State(), SND_PCM_STATE_XRUN);
  EXPECT_EQ(Heard(), 50) << "every frame written before an underrun has been heard";
  EXPECT_EQ(Deliver(second), 0) << "the write that finds the underrun recovers";
  EXPECT_EQ(device->State(), SND_PCM_STATE_PREPARED);
  EXPECT_EQ(Deliver(second), 20);
  device->Play(5);
  EXPECT_EQ(Heard(), 55);
  std::vector<uint8_t> expected = first;
  expected.insert(expected.end(), second.begin(), second.begin() + 10);
  EXPECT_EQ(device->Heard(), expected);
}

TEST_F(AlsaOutputTest, PauseHoldsTheDevicesBufferWhenItCanPause) {
  Make(100);
  Deliver(Counting(50, 0));
  device->Play(10);
  EXPECT_TRUE(output->Pause(true));
  EXPECT_EQ(device->State(), SND_PCM_STATE_PAUSED);
  device->Play(20);
  EXPECT_EQ(Heard(), 10);
  EXPECT_TRUE(output->Pause(false));
  EXPECT_EQ(device->State(), SND_PCM_STATE_RUNNING);
  device->Play(20);
  EXPECT_EQ(Heard(), 30);
}

TEST_F(AlsaOutputTest, PauseIsDeclinedByADeviceThatCannotPauseAndNeedsNothingWhenNotRunning) {
  Make(100);
  EXPECT_TRUE(output->Pause(true));
  EXPECT_TRUE(output->Pause(false));
  EXPECT_EQ(device->PauseCalls(), 0) << "a stream that is not running holds nothing";
  EXPECT_EQ(device->State(), SND_PCM_STATE_PREPARED);
  Make(100, false);
  Deliver(Counting(50, 0));
  EXPECT_FALSE(output->Pause(true));
  EXPECT_EQ(device->State(), SND_PCM_STATE_RUNNING);
  EXPECT_EQ(device->PauseCalls(), 0);
}

TEST_F(AlsaOutputTest, DropForgetsTheUnheardFramesAndPlaysOnAfterwards) {
  Make(100);
  Deliver(Counting(50, 0));
  device->Play(10);
  delivered = Heard();  // what the wave-out device keeps as delivered when it drops
  output->Drop();
  EXPECT_EQ(delivered, 10);
  EXPECT_EQ(output->Delay(), 0);
  EXPECT_EQ(Deliver(Counting(20, 0)), 20);
  device->Play(20);
  EXPECT_EQ(Heard(), 30);
}

TEST_F(AlsaOutputTest, DelayNeverCountsMoreThanWasWritten) {
  Make(100);
  device->SetExtraDelay(400);  // a sound server reporting its latency before anything plays
  Deliver(Counting(50, 0));
  EXPECT_EQ(output->Delay(), 50);
  EXPECT_EQ(Heard(), 0);
}

TEST_F(AlsaOutputTest, LostDeviceCarriesOnAsTheSilentDevice) {
  Make(100);
  Deliver(Counting(50, 0));
  device->Fail(-ENODEV);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Deliver(Counting(4000, 0)), 4000) << "the silent device takes everything";
  std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("sound output device lost"), std::string::npos) << said;
  EXPECT_LE(output->Delay(), 4000);
  EXPECT_TRUE(output->Pause(true));
}

// The wave-out device thread on the ALSA stream: buffers come back in write order, each once
// its last frame has been heard, through an underrun between them.
TEST(AlsaOutputDeviceTest, BuffersComeBackInOrderAcrossAnUnderrun) {
  auto device = std::make_shared<testing::FakeDevice>(50, 2, true);
  testing::WaveTestWindow window;
  DeviceWindow reportTo;
  ASSERT_EQ(DeviceWindow::FromOpenFlags(window.Callback(), CALLBACK_WINDOW, &reportTo), MMSYSERR_NOERROR);
  OutputDevice wave(reportTo, kFormat,
                    std::make_unique<AlsaOutput>(std::make_unique<testing::FakePcm>(device), kFormat));
  HWAVEOUT handle = reinterpret_cast<HWAVEOUT>(uintptr_t{0x51});
  wave.Start(handle);

  testing::WaveBuffer a(Counting(40, 0)), b(Counting(40, 80)), c(Counting(40, 160));
  for (testing::WaveBuffer* buffer : {&a, &b, &c}) ASSERT_EQ(wave.Prepare(&buffer->header), MMSYSERR_NOERROR);
  // Waits until the device thread has written `written` frames, lets the device play `play`
  // and returns the device messages up to the next returned buffer.
  auto playUntilDone = [&](int64_t written, int64_t play) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (device->Written() < written && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(milliseconds(1));
    }
    EXPECT_EQ(device->Written(), written);
    device->Play(play);
    return window.RunUntil(MM_WOM_DONE, milliseconds(10000));
  };
  auto position = [&] {
    int64_t bytes = -1;
    wave.Position(&bytes);
    return bytes;
  };

  ASSERT_EQ(wave.Write(&a.header), MMSYSERR_NOERROR);
  ASSERT_EQ(wave.Write(&b.header), MMSYSERR_NOERROR);
  std::vector<testing::DeviceMessage> messages = playUntilDone(50, 45);  // the device holds 50 frames
  ASSERT_EQ(testing::Ids(messages), (std::vector<UINT>{MM_WOM_OPEN, MM_WOM_DONE}));
  EXPECT_EQ(messages[1].Header(), &a.header);
  EXPECT_EQ(messages[1].device, reinterpret_cast<WPARAM>(handle));
  EXPECT_EQ(position(), 45 * 2);

  messages = playUntilDone(80, 100);  // the rest of the second buffer follows, then runs dry
  ASSERT_EQ(testing::Ids(messages), std::vector<UINT>{MM_WOM_DONE});
  EXPECT_EQ(messages[0].Header(), &b.header);
  EXPECT_EQ(position(), 80 * 2);

  ASSERT_EQ(wave.Write(&c.header), MMSYSERR_NOERROR);
  messages = playUntilDone(120, 40);  // writing after the underrun restarts the device
  ASSERT_EQ(testing::Ids(messages), std::vector<UINT>{MM_WOM_DONE});
  EXPECT_EQ(messages[0].Header(), &c.header);
  EXPECT_EQ(position(), 120 * 2);

  std::vector<uint8_t> expected = a.data;
  expected.insert(expected.end(), b.data.begin(), b.data.end());
  expected.insert(expected.end(), c.data.begin(), c.data.end());
  EXPECT_EQ(device->Heard(), expected);
  ASSERT_EQ(wave.Close(), MMSYSERR_NOERROR);
  EXPECT_EQ(testing::Ids(window.Pump()), std::vector<UINT>{MM_WOM_CLOSE});
}

}  // namespace
}  // namespace morvex::wave
