// The ALSA streams against a fake PCM device, the wave-out device thread driving one, and opening.
#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "platform/wave/alsa_input.h"
#include "platform/wave/alsa_output.h"
#include "platform/wave/alsa_pcm.h"
#include "platform/wave/device_selection.h"
#include "platform/wave/frame_clock.h"
#include "platform/wave/output_device.h"
#include "tests/platform/recording_window.h"

namespace morvex::wave {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

constexpr PcmFormat kFormat{8000, 1, 16};  // 2 bytes a frame

// Bytes counting up from `first`, so that what was heard shows where it came from.
Bytes Frames(int64_t frames, uint8_t first) {
  Bytes bytes(static_cast<size_t>(frames * 2));
  std::iota(bytes.begin(), bytes.end(), first);
  return bytes;
}

// Bytes and the header that lends them to the device; stays where it was made.
struct WaveBuffer {
  explicit WaveBuffer(Bytes bytes) : data(std::move(bytes)) {
    header.lpData = reinterpret_cast<LPSTR>(data.data());
    header.dwBufferLength = static_cast<DWORD>(data.size());
  }
  Bytes data;
  WAVEHDR header{};
};

// A PCM ring whose pointer moves only when the test plays or records, with ALSA's states.
class FakePcm final : public AlsaPcm {
  static constexpr int64_t kFrameBytes = 2;
  template <typename F>
  auto Locked(F f) const {
    std::lock_guard lock(mutex_);
    return f();
  }
  // Under the lock: the error every transfer meets now, if any.
  int Broken() const { return failure_ ? failure_ : state_ == SND_PCM_STATE_XRUN ? -EPIPE : 0; }
  // Frames not yet heard are gone; recorded frames not yet read too.
  int Empty(snd_pcm_state_t state) {
    return Locked([&] {
      state_ = state;
      appl_ = hw_;
      written_.resize(static_cast<size_t>(hw_ * kFrameBytes));
      recorded_.clear();
      return 0;
    });
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
  void Record(const Bytes& bytes) {
    std::lock_guard lock(mutex_);
    if (state_ != SND_PCM_STATE_RUNNING) return;
    recorded_.insert(recorded_.end(), bytes.begin(), bytes.end());
    if (static_cast<int64_t>(recorded_.size()) > capacity_ * kFrameBytes) state_ = SND_PCM_STATE_XRUN;
  }
  // Every later call fails with `error` (a device that has gone away: -ENODEV).
  void Fail(int error) { Locked([&] { failure_ = error; }); }
  // Latency the device adds to its delay (a sound server's own buffering).
  void SetExtraDelay(int64_t frames) { Locked([&] { extraDelay_ = frames; }); }
  // After an underrun the delay is still reported, as a sound server's plugin does.
  void ReportDelayAfterUnderrun() { Locked([&] { delayAfterUnderrun_ = true; }); }
  Bytes Heard() const { return Locked([&] { return Bytes(written_.begin(), written_.begin() + hw_ * kFrameBytes); }); }
  int64_t Written() const { return Locked([&] { return appl_; }); }

  snd_pcm_state_t State() override { return Locked([&] { return state_; }); }
  snd_pcm_sframes_t Writei(const void* data, snd_pcm_uframes_t frames) override {
    std::lock_guard lock(mutex_);
    if (Broken()) return Broken();
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
    if (Broken()) return Broken();
    if (state_ != SND_PCM_STATE_RUNNING) return state_ == SND_PCM_STATE_PREPARED ? -EAGAIN : -EBADFD;
    const int64_t count = std::min(static_cast<int64_t>(frames), static_cast<int64_t>(recorded_.size()) / kFrameBytes);
    if (count == 0) return -EAGAIN;
    std::copy_n(recorded_.begin(), count * kFrameBytes, static_cast<uint8_t*>(data));
    recorded_.erase(recorded_.begin(), recorded_.begin() + count * kFrameBytes);
    return count;
  }
  int Delay(snd_pcm_sframes_t* frames) override {
    std::lock_guard lock(mutex_);
    *frames = appl_ - hw_ + extraDelay_;
    return delayAfterUnderrun_ && !failure_ ? 0 : Broken();
  }
  bool CanPause() const override { return canPause_; }
  int Pause(bool enable) override {
    return Locked([&] {
      if (state_ != (enable ? SND_PCM_STATE_RUNNING : SND_PCM_STATE_PAUSED)) return -EBADFD;
      state_ = enable ? SND_PCM_STATE_PAUSED : SND_PCM_STATE_RUNNING;
      return 0;
    });
  }
  int Drop() override { return Empty(SND_PCM_STATE_SETUP); }
  int Prepare() override {
    const int failure = Locked([&] { return failure_; });
    return failure ? failure : Empty(SND_PCM_STATE_PREPARED);
  }
  int Recover(int error) override { return error == -EPIPE || error == -ESTRPIPE ? Prepare() : error; }
  int Start() override {
    return Locked([&] { return state_ == SND_PCM_STATE_PREPARED ? (state_ = SND_PCM_STATE_RUNNING, 0) : -EBADFD; });
  }
  // No descriptors: the stream's waits end by wake-up or timeout.
  int PollDescriptors(pollfd*, unsigned) override { return 0; }
  int PollRevents(pollfd*, unsigned, unsigned short* revents) override { *revents = 0; return 0; }

 private:
  mutable std::mutex mutex_;
  const int64_t capacity_;
  const bool canPause_;
  snd_pcm_state_t state_ = SND_PCM_STATE_PREPARED;
  int64_t appl_ = 0, hw_ = 0, extraDelay_ = 0;
  int failure_ = 0;
  bool delayAfterUnderrun_ = false;
  Bytes written_;
  std::deque<uint8_t> recorded_;
};

// Recording from the start, through an overrun, not after a stop; a failure is said once.
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
  pcm.Record(Frames(20, 7));
  EXPECT_EQ(readAll(), Frames(20, 7));
  pcm.Record(Frames(150, 0));  // more than the 100 frames the device holds
  ASSERT_EQ(pcm.State(), SND_PCM_STATE_XRUN);
  EXPECT_TRUE(readAll().empty());
  pcm.Record(Frames(5, 50));
  EXPECT_EQ(readAll(), Frames(5, 50));
  pcm.Record(Frames(20, 0));
  input.Stop();
  input.Start();
  EXPECT_TRUE(readAll().empty()) << "a stop discards what was not read";
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

// Latency beyond what was written is not counted; a lost device goes silent and can pause.
TEST(AlsaOutputTest, ServerLatencyAndALostDevice) {
  auto owned = std::make_unique<FakePcm>(100, false);
  FakePcm& pcm = *owned;
  AlsaOutput output(std::move(owned), kFormat);
  pcm.SetExtraDelay(400);
  const Bytes sound = Frames(50, 0);
  EXPECT_EQ(output.Write(sound.data(), 50), 50);
  EXPECT_EQ(output.Delay(), 50);
  pcm.Fail(-ENODEV);
  ::testing::internal::CaptureStderr();
  const Bytes more = Frames(4000, 0);
  EXPECT_EQ(output.Write(more.data(), 4000), 4000) << "the silent device takes everything";
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("sound output device lost"), std::string::npos) << said;
  EXPECT_LE(output.Delay(), 4000);
  EXPECT_TRUE(output.Pause(true));
}

// A stream run dry has nothing left to be heard, whatever delay it still reports in the
// underrun state (as a sound server's plugin does).
TEST(AlsaOutputTest, NothingIsLeftOnceTheStreamHasRunDry) {
  auto owned = std::make_unique<FakePcm>(100, true);
  FakePcm& pcm = *owned;
  AlsaOutput output(std::move(owned), kFormat);
  pcm.SetExtraDelay(30);
  pcm.ReportDelayAfterUnderrun();
  const Bytes sound = Frames(50, 0);
  ASSERT_EQ(output.Write(sound.data(), 50), 50);
  pcm.Play(40);
  EXPECT_EQ(output.Delay(), 40) << "ten frames and the device's latency, no more than was written";
  pcm.Play(20);
  ASSERT_EQ(pcm.State(), SND_PCM_STATE_XRUN);
  EXPECT_EQ(output.Delay(), 0);
}

// Both kinds of pause: buffers return once heard through underrun, pause and reset, nothing lost.
TEST(AlsaOutputDeviceTest, BuffersComeBackInOrderThroughUnderrunPauseAndReset) {
  for (const bool canPause : {true, false}) {
    SCOPED_TRACE(canPause ? "device pause" : "no device pause");
    auto owned = std::make_unique<FakePcm>(50, canPause);
    FakePcm& pcm = *owned;
    HWND hwnd = morvex::testing::CreateRecorded("wave", 0, 0, 100, 100);
    DeviceWindow reportTo;
    ASSERT_EQ(DeviceWindow::FromOpenFlags(reinterpret_cast<DWORD_PTR>(hwnd), CALLBACK_WINDOW, &reportTo),
              MMSYSERR_NOERROR);
    OutputDevice wave(reportTo, kFormat, std::make_unique<AlsaOutput>(std::move(owned), kFormat));
    HWAVEOUT handle = reinterpret_cast<HWAVEOUT>(uintptr_t{0x51});
    wave.Start(handle);
    WaveBuffer a(Frames(40, 0)), b(Frames(40, 80)), c(Frames(40, 160)), d(Frames(40, 240)), e(Frames(40, 7));
    for (auto* buffer : {&a, &b, &c, &d, &e}) ASSERT_EQ(wave.Prepare(&buffer->header), MMSYSERR_NOERROR);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    auto written = [&](int64_t frames) {
      while (pcm.Written() < frames && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
      EXPECT_EQ(pcm.Written(), frames);
    };
    auto heard = [&] {
      int64_t bytes = -1;
      wave.Position(&bytes);
      return bytes / 2;
    };
    // Plays `frames`; the device messages up to the next `last`, buffers handed back being `done`.
    auto play = [&](int64_t frames, const WAVEHDR* done, UINT last = MM_WOM_DONE) {
      if (frames > 0) pcm.Play(frames);  // the stream is gone once the device is closed
      std::vector<UINT> ids;
      while ((ids.empty() || ids.back() != last) && std::chrono::steady_clock::now() < deadline) {
        morvex::testing::Pump();
        for (const auto& m : morvex::testing::received) {
          if (m.msg < MM_WOM_OPEN || m.msg > MM_WOM_DONE) continue;
          ids.push_back(m.msg);
          EXPECT_EQ(m.wParam, reinterpret_cast<WPARAM>(handle));
          EXPECT_TRUE(m.msg != MM_WOM_DONE || m.lParam == reinterpret_cast<LPARAM>(done));
        }
        morvex::testing::received.clear();
        std::this_thread::sleep_for(1ms);
      }
      return ids;
    };
    ASSERT_EQ(wave.Write(&a.header), MMSYSERR_NOERROR);
    ASSERT_EQ(wave.Write(&b.header), MMSYSERR_NOERROR);
    written(50);  // what the device holds
    EXPECT_EQ(play(45, &a.header), (std::vector<UINT>{MM_WOM_OPEN, MM_WOM_DONE}));
    EXPECT_EQ(heard(), 45);
    written(80);
    EXPECT_EQ(play(100, &b.header), std::vector<UINT>{MM_WOM_DONE});  // runs dry
    EXPECT_EQ(heard(), 80);
    ASSERT_EQ(wave.Write(&c.header), MMSYSERR_NOERROR);
    written(120);
    EXPECT_EQ(play(40, &c.header), std::vector<UINT>{MM_WOM_DONE});  // the write after the underrun restarts it
    ASSERT_EQ(wave.Write(&d.header), MMSYSERR_NOERROR);
    written(160);
    pcm.Play(10);
    ASSERT_EQ(wave.Pause(), MMSYSERR_NOERROR);
    EXPECT_EQ(pcm.State(), canPause ? SND_PCM_STATE_PAUSED : SND_PCM_STATE_PREPARED);
    pcm.Play(20);
    EXPECT_EQ(heard(), 130);
    ASSERT_EQ(wave.Restart(), MMSYSERR_NOERROR);
    written(160);  // without the device's pause, the unheard frames are written again
    pcm.Play(10);
    EXPECT_EQ(heard(), 140);
    ASSERT_EQ(wave.Reset(), MMSYSERR_NOERROR);
    EXPECT_EQ(play(0, &d.header), std::vector<UINT>{MM_WOM_DONE});
    EXPECT_EQ(heard(), 140);
    ASSERT_EQ(wave.Write(&e.header), MMSYSERR_NOERROR);
    written(180);
    EXPECT_EQ(play(40, &e.header), std::vector<UINT>{MM_WOM_DONE});
    EXPECT_EQ(heard(), 180);
    Bytes expected;
    for (const Bytes* part : {&a.data, &b.data, &c.data, &d.data, &e.data}) {
      expected.insert(expected.end(), part->begin(), part->end());
    }
    expected.erase(expected.begin() + 280, expected.begin() + 320);  // d's last 20 frames, reset unheard
    EXPECT_EQ(pcm.Heard(), expected);
    ASSERT_EQ(wave.Close(), MMSYSERR_NOERROR);
    EXPECT_EQ(play(0, nullptr, MM_WOM_CLOSE), std::vector<UINT>{MM_WOM_CLOSE});
    DestroyWindow(hwnd);
  }
}

WAVEFORMATEX PcmFormatOf(DWORD rate, WORD channels, WORD bits) {
  const WORD block = static_cast<WORD>(channels * bits / 8);
  return {WAVE_FORMAT_PCM, channels, rate, rate * block, block, bits, 0};
}

// Unplayable formats are refused; without a device the silent one stands in, said once on one line.
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
