// The ALSA streams against a fake PCM device, and the wave-out device thread driving one.
#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <deque>
#include <mutex>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/wave/alsa_input.h"
#include "platform/wave/alsa_output.h"
#include "platform/wave/alsa_pcm.h"
#include "platform/wave/output_device.h"
#include "wave_test_window.h"

namespace morvex::wave {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

constexpr PcmFormat kFormat{8000, 1, 16};  // 2 bytes a frame

Bytes Frames(int64_t frames, uint8_t first) { return testing::Counting(static_cast<size_t>(frames * 2), first); }

using testing::Joined;

// A PCM device whose hardware pointer moves only when the test plays (or records) frames, with
// ALSA's states, underruns, overruns, pause and failures. The stream owns it; the test drives it.
class FakePcm final : public AlsaPcm {
  template <typename F>
  auto Locked(F f) const {
    std::lock_guard lock(mutex_);
    return f();
  }

 public:
  FakePcm(int64_t capacity, bool canPause) : capacity_(capacity), canPause_(canPause) {}

  // Playback: the device plays `frames`; running out of written frames is an underrun.
  void Play(int64_t frames) {
    std::lock_guard lock(mutex_);
    if (state_ != SND_PCM_STATE_RUNNING) return;
    const int64_t available = appl_ - hw_;
    hw_ += std::min(frames, available);
    if (frames > available) state_ = SND_PCM_STATE_XRUN;
  }
  // Capture: the device records `bytes`; more than the ring holds is an overrun.
  void Record(const std::vector<uint8_t>& bytes) {
    std::lock_guard lock(mutex_);
    if (state_ != SND_PCM_STATE_RUNNING) return;
    recorded_.insert(recorded_.end(), bytes.begin(), bytes.end());
    if (static_cast<int64_t>(recorded_.size()) > capacity_ * kFrameBytes) state_ = SND_PCM_STATE_XRUN;
  }
  // Every later call fails with `error` (a device that has gone away: -ENODEV).
  void Fail(int error) { Locked([&] { failure_ = error; }); }
  // Latency the device adds to its delay (a sound server's own buffering).
  void SetExtraDelay(int64_t frames) { Locked([&] { extraDelay_ = frames; }); }
  std::vector<uint8_t> Heard() const {
    std::lock_guard lock(mutex_);
    return {written_.begin(), written_.begin() + hw_ * kFrameBytes};
  }
  int64_t Written() const { return Locked([&] { return appl_; }); }

  snd_pcm_state_t State() override { return Locked([&] { return state_; }); }
  snd_pcm_sframes_t Writei(const void* data, snd_pcm_uframes_t frames) override {
    std::lock_guard lock(mutex_);
    if (failure_ || state_ == SND_PCM_STATE_XRUN) return failure_ ? failure_ : -EPIPE;
    if (state_ != SND_PCM_STATE_PREPARED && state_ != SND_PCM_STATE_RUNNING) return -EBADFD;
    const int64_t count = std::min(static_cast<int64_t>(frames), capacity_ - (appl_ - hw_));
    if (count == 0) return -EAGAIN;
    const auto* bytes = static_cast<const uint8_t*>(data);
    written_.insert(written_.end(), bytes, bytes + count * kFrameBytes);
    appl_ += count;
    state_ = SND_PCM_STATE_RUNNING;  // start threshold 1
    return count;
  }
  snd_pcm_sframes_t Readi(void* data, snd_pcm_uframes_t frames) override {
    std::lock_guard lock(mutex_);
    if (failure_ || state_ == SND_PCM_STATE_XRUN) return failure_ ? failure_ : -EPIPE;
    if (state_ == SND_PCM_STATE_PREPARED) return -EAGAIN;  // waiting to be started
    if (state_ != SND_PCM_STATE_RUNNING) return -EBADFD;
    const int64_t count = std::min(static_cast<int64_t>(frames), static_cast<int64_t>(recorded_.size()) / kFrameBytes);
    if (count == 0) return -EAGAIN;
    std::copy_n(recorded_.begin(), count * kFrameBytes, static_cast<uint8_t*>(data));
    recorded_.erase(recorded_.begin(), recorded_.begin() + count * kFrameBytes);
    return count;
  }
  int Delay(snd_pcm_sframes_t* frames) override {
    std::lock_guard lock(mutex_);
    if (failure_ || state_ == SND_PCM_STATE_XRUN) return failure_ ? failure_ : -EPIPE;
    *frames = appl_ - hw_ + extraDelay_;
    return 0;
  }
  bool CanPause() const override { return canPause_; }
  int Pause(bool enable) override {
    std::lock_guard lock(mutex_);
    const snd_pcm_state_t from = enable ? SND_PCM_STATE_RUNNING : SND_PCM_STATE_PAUSED;
    if (state_ != from) return -EBADFD;
    state_ = enable ? SND_PCM_STATE_PAUSED : SND_PCM_STATE_RUNNING;
    return 0;
  }
  int Drop() override { return Empty(SND_PCM_STATE_SETUP); }
  int Prepare() override {
    const int failure = Locked([&] { return failure_; });
    return failure ? failure : Empty(SND_PCM_STATE_PREPARED);
  }
  int Recover(int error) override { return error == -EPIPE || error == -ESTRPIPE ? Prepare() : error; }
  int Start() override {
    std::lock_guard lock(mutex_);
    if (state_ != SND_PCM_STATE_PREPARED) return -EBADFD;
    state_ = SND_PCM_STATE_RUNNING;
    return 0;
  }
  // No descriptors: the stream's waits end by wake-up or timeout.
  int PollDescriptors(pollfd*, unsigned) override { return 0; }
  int PollRevents(pollfd*, unsigned, unsigned short* revents) override {
    *revents = 0;
    return 0;
  }

 private:
  static constexpr int64_t kFrameBytes = 2;

  // Frames not yet heard are gone; recorded frames not yet read too.
  int Empty(snd_pcm_state_t state) {
    std::lock_guard lock(mutex_);
    state_ = state;
    appl_ = hw_;
    written_.resize(static_cast<size_t>(hw_ * kFrameBytes));
    recorded_.clear();
    return 0;
  }

  mutable std::mutex mutex_;
  const int64_t capacity_;
  const bool canPause_;
  snd_pcm_state_t state_ = SND_PCM_STATE_PREPARED;
  int64_t appl_ = 0;
  int64_t hw_ = 0;
  int64_t extraDelay_ = 0;
  int failure_ = 0;
  std::vector<uint8_t> written_;
  std::deque<uint8_t> recorded_;
};

// Recording starts with Start, an overrun is recovered, Stop discards what was not read, and a
// failing device stops delivering and says so once.
TEST(AlsaInputTest, RecordsAfterStartThroughOverrunsAndStopsOnFailure) {
  auto owned = std::make_unique<FakePcm>(100, true);
  FakePcm& pcm = *owned;
  AlsaInput input(std::move(owned));
  auto readAll = [&] {
    Bytes got(400);
    got.resize(static_cast<size_t>(input.Read(got.data(), 200) * 2));
    return got;
  };
  pcm.Record(Frames(10, 0));
  EXPECT_TRUE(readAll().empty()) << "nothing is recorded before the start";
  input.Start();
  EXPECT_EQ(pcm.State(), SND_PCM_STATE_RUNNING);
  EXPECT_TRUE(readAll().empty()) << "nothing recorded yet: the read does not block";
  pcm.Record(Frames(20, 7));
  EXPECT_EQ(readAll(), Frames(20, 7));
  pcm.Record(Frames(150, 0));  // more than the 100 frames the device holds
  ASSERT_EQ(pcm.State(), SND_PCM_STATE_XRUN);
  EXPECT_TRUE(readAll().empty());
  EXPECT_EQ(pcm.State(), SND_PCM_STATE_RUNNING);
  pcm.Record(Frames(5, 50));
  EXPECT_EQ(readAll(), Frames(5, 50));
  pcm.Record(Frames(20, 0));
  input.Stop();
  EXPECT_NE(pcm.State(), SND_PCM_STATE_RUNNING);
  EXPECT_TRUE(readAll().empty());
  input.Start();
  EXPECT_TRUE(readAll().empty()) << "a new start does not bring back the old frames";

  pcm.Record(Frames(20, 0));
  pcm.Fail(-ENODEV);
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(readAll().empty());
  EXPECT_TRUE(readAll().empty());
  input.Start();
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("sound input device failed"), std::string::npos) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
}

// Heard frames are the delivered ones less ALSA's delay across full buffers, pause and drop (the
// underrun is met by the device thread's case below).
TEST(AlsaOutputTest, HeardIsDeliveredLessTheDelayThroughPauseAndDrop) {
  auto owned = std::make_unique<FakePcm>(100, true);
  FakePcm& pcm = *owned;
  AlsaOutput output(std::move(owned), kFormat);
  int64_t delivered = 0;
  auto deliver = [&](const Bytes& bytes, int64_t from = 0) {
    const int64_t taken = output.Write(bytes.data() + from * 2, static_cast<int64_t>(bytes.size()) / 2 - from);
    delivered += taken;
    return taken;
  };
  auto heard = [&] { return delivered - output.Delay(); };
  EXPECT_TRUE(output.Pause(true) && output.Pause(false)) << "a stream that is not running holds nothing";

  const Bytes sound = Frames(150, 0);
  EXPECT_EQ(deliver(sound), 100) << "the stream takes what its buffer holds";
  EXPECT_EQ(heard(), 0);
  pcm.Play(30);
  EXPECT_EQ(heard(), 30);
  EXPECT_EQ(deliver(sound, 100), 30);
  EXPECT_EQ(deliver(sound, 130), 0) << "a full stream takes nothing and does not block";
  pcm.Play(90);
  EXPECT_EQ(heard(), 120);
  EXPECT_TRUE(output.Pause(true));
  EXPECT_EQ(pcm.State(), SND_PCM_STATE_PAUSED);
  pcm.Play(10);
  EXPECT_EQ(heard(), 120);
  EXPECT_TRUE(output.Pause(false));
  pcm.Play(5);
  EXPECT_EQ(heard(), 125);
  EXPECT_EQ(pcm.Heard(), Bytes(sound.begin(), sound.begin() + 250));

  delivered = heard();  // what the wave-out device keeps as delivered when it drops
  output.Drop();
  EXPECT_EQ(output.Delay(), 0);
  EXPECT_EQ(deliver(Frames(20, 0)), 20);
  pcm.Play(20);
  EXPECT_EQ(heard(), 145);
}

// A device that cannot pause declines; a sound server's latency never counts more than was
// written; a lost device carries on as the silent device.
TEST(AlsaOutputTest, NoPauseServerLatencyAndALostDevice) {
  auto owned = std::make_unique<FakePcm>(100, false);
  FakePcm& pcm = *owned;
  AlsaOutput output(std::move(owned), kFormat);
  pcm.SetExtraDelay(400);
  const Bytes sound = Frames(50, 0);
  EXPECT_EQ(output.Write(sound.data(), 50), 50);
  EXPECT_EQ(output.Delay(), 50);
  EXPECT_FALSE(output.Pause(true));
  EXPECT_EQ(pcm.State(), SND_PCM_STATE_RUNNING);

  pcm.Fail(-ENODEV);
  ::testing::internal::CaptureStderr();
  const Bytes more = Frames(4000, 0);
  EXPECT_EQ(output.Write(more.data(), 4000), 4000) << "the silent device takes everything";
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("sound output device lost"), std::string::npos) << said;
  EXPECT_LE(output.Delay(), 4000);
  EXPECT_TRUE(output.Pause(true));
}

// Buffers come back in write order, each once its last frame has been heard, across an underrun.
TEST(AlsaOutputDeviceTest, BuffersComeBackInOrderAcrossAnUnderrun) {
  auto owned = std::make_unique<FakePcm>(50, true);
  FakePcm& pcm = *owned;
  testing::WaveTestWindow window;
  DeviceWindow reportTo;
  ASSERT_EQ(DeviceWindow::FromOpenFlags(window.Callback(), CALLBACK_WINDOW, &reportTo), MMSYSERR_NOERROR);
  OutputDevice wave(reportTo, kFormat, std::make_unique<AlsaOutput>(std::move(owned), kFormat));
  HWAVEOUT handle = reinterpret_cast<HWAVEOUT>(uintptr_t{0x51});
  wave.Start(handle);
  testing::WaveBuffer a(Frames(40, 0)), b(Frames(40, 80)), c(Frames(40, 160));
  for (testing::WaveBuffer* buffer : {&a, &b, &c}) ASSERT_EQ(wave.Prepare(&buffer->header), MMSYSERR_NOERROR);
  // Once the device thread has written `written` frames, plays `play` and checks what comes back
  // and the position then.
  auto playUntilDone = [&](int64_t written, int64_t play, std::vector<UINT> ids, const WAVEHDR& done, int64_t heard) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (pcm.Written() < written && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(pcm.Written(), written);
    pcm.Play(play);
    std::vector<testing::DeviceMessage> messages;
    while ((messages.empty() || messages.back().message != MM_WOM_DONE) && std::chrono::steady_clock::now() < until) {
      for (const auto& m : window.Pump()) messages.push_back(m);
      std::this_thread::sleep_for(1ms);
    }
    ASSERT_EQ(testing::Ids(messages), ids);
    EXPECT_EQ(messages.back().Header(), &done);
    EXPECT_EQ(messages.back().device, reinterpret_cast<WPARAM>(handle));
    int64_t bytes = -1;
    wave.Position(&bytes);
    EXPECT_EQ(bytes, heard * 2);
  };
  ASSERT_EQ(wave.Write(&a.header), MMSYSERR_NOERROR);
  ASSERT_EQ(wave.Write(&b.header), MMSYSERR_NOERROR);
  playUntilDone(50, 45, {MM_WOM_OPEN, MM_WOM_DONE}, a.header, 45);  // the device holds 50 frames
  playUntilDone(80, 100, {MM_WOM_DONE}, b.header, 80);              // the rest follows, then runs dry
  ASSERT_EQ(wave.Write(&c.header), MMSYSERR_NOERROR);
  playUntilDone(120, 40, {MM_WOM_DONE}, c.header, 120);  // writing after the underrun restarts it
  EXPECT_EQ(pcm.Heard(), Joined(Joined(a.data, b.data), c.data));
  ASSERT_EQ(wave.Close(), MMSYSERR_NOERROR);
  EXPECT_EQ(testing::Ids(window.Pump()), std::vector<UINT>{MM_WOM_CLOSE});
}

}  // namespace
}  // namespace morvex::wave
