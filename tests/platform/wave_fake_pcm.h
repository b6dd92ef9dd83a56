// A PCM device for the ALSA stream tests: a ring of `capacity` frames whose hardware pointer
// moves only when the test plays (or records) frames, with ALSA's states, underruns, overruns,
// pause and failures. The stream owns it; the test keeps a pointer to drive it.
#pragma once

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/wave/alsa_pcm.h"

namespace morvex::wave::testing {

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

}  // namespace morvex::wave::testing
