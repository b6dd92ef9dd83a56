// A PCM device model for the ALSA stream tests: a ring of `capacity` frames whose hardware
// pointer moves only when the test plays (or records) frames, with ALSA's states, underruns,
// overruns, pause and failures.
#pragma once

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/wave/alsa_pcm.h"

namespace morvex::wave::testing {

class FakeDevice {
 public:
  FakeDevice(int64_t capacity, int64_t frameBytes, bool canPause)
      : capacity_(capacity), frameBytes_(frameBytes), canPause_(canPause) {}

  // Playback: the device plays `frames` frames; running out of written frames is an underrun.
  void Play(int64_t frames) {
    std::lock_guard lock(mutex_);
    if (state_ != SND_PCM_STATE_RUNNING) return;
    int64_t available = appl_ - hw_;
    hw_ += std::min(frames, available);
    if (frames > available) state_ = SND_PCM_STATE_XRUN;
  }
  // Capture: the device records `bytes`; more than the ring holds is an overrun.
  void Record(const std::vector<uint8_t>& bytes) {
    std::lock_guard lock(mutex_);
    if (state_ != SND_PCM_STATE_RUNNING) return;
    recorded_.insert(recorded_.end(), bytes.begin(), bytes.end());
    if (static_cast<int64_t>(recorded_.size()) > capacity_ * frameBytes_) state_ = SND_PCM_STATE_XRUN;
  }
  // Every later call fails with `error` (a device that has gone away: -ENODEV).
  void Fail(int error) {
    std::lock_guard lock(mutex_);
    failure_ = error;
  }
  // Latency the device adds to its delay (a sound server's own buffering).
  void SetExtraDelay(int64_t frames) {
    std::lock_guard lock(mutex_);
    extraDelay_ = frames;
  }
  std::vector<uint8_t> Heard() const {
    std::lock_guard lock(mutex_);
    return {written_.begin(), written_.begin() + hw_ * frameBytes_};
  }
  int64_t Written() const {
    std::lock_guard lock(mutex_);
    return appl_;
  }
  snd_pcm_state_t State() const {
    std::lock_guard lock(mutex_);
    return state_;
  }

  snd_pcm_sframes_t Writei(const void* data, snd_pcm_uframes_t frames) {
    std::lock_guard lock(mutex_);
    if (failure_) return failure_;
    if (state_ == SND_PCM_STATE_XRUN) return -EPIPE;
    if (state_ != SND_PCM_STATE_PREPARED && state_ != SND_PCM_STATE_RUNNING) return -EBADFD;
    int64_t count = std::min(static_cast<int64_t>(frames), capacity_ - (appl_ - hw_));
    if (count == 0) return -EAGAIN;
    const auto* bytes = static_cast<const uint8_t*>(data);
    written_.insert(written_.end(), bytes, bytes + count * frameBytes_);
    appl_ += count;
    state_ = SND_PCM_STATE_RUNNING;  // start threshold 1
    return count;
  }
  snd_pcm_sframes_t Readi(void* data, snd_pcm_uframes_t frames) {
    std::lock_guard lock(mutex_);
    if (failure_) return failure_;
    if (state_ == SND_PCM_STATE_XRUN) return -EPIPE;
    if (state_ == SND_PCM_STATE_PREPARED) return -EAGAIN;  // waiting to be started
    if (state_ != SND_PCM_STATE_RUNNING) return -EBADFD;
    int64_t count = std::min(static_cast<int64_t>(frames), static_cast<int64_t>(recorded_.size()) / frameBytes_);
    if (count == 0) return -EAGAIN;
    std::copy_n(recorded_.begin(), count * frameBytes_, static_cast<uint8_t*>(data));
    recorded_.erase(recorded_.begin(), recorded_.begin() + count * frameBytes_);
    return count;
  }
  int Delay(snd_pcm_sframes_t* frames) {
    std::lock_guard lock(mutex_);
    if (failure_) return failure_;
    if (state_ == SND_PCM_STATE_XRUN) return -EPIPE;
    *frames = appl_ - hw_ + extraDelay_;
    return 0;
  }
  bool CanPause() const { return canPause_; }
  int Pause(bool enable) {
    std::lock_guard lock(mutex_);
    ++pauseCalls_;
    if (enable && state_ == SND_PCM_STATE_RUNNING) {
      state_ = SND_PCM_STATE_PAUSED;
      return 0;
    }
    if (!enable && state_ == SND_PCM_STATE_PAUSED) {
      state_ = SND_PCM_STATE_RUNNING;
      return 0;
    }
    return -EBADFD;
  }
  int PauseCalls() const {
    std::lock_guard lock(mutex_);
    return pauseCalls_;
  }
  int Drop() {
    std::lock_guard lock(mutex_);
    state_ = SND_PCM_STATE_SETUP;
    EmptyLocked();
    return 0;
  }
  int Prepare() {
    std::lock_guard lock(mutex_);
    if (failure_) return failure_;
    state_ = SND_PCM_STATE_PREPARED;
    EmptyLocked();
    return 0;
  }
  int Start() {
    std::lock_guard lock(mutex_);
    if (state_ != SND_PCM_STATE_PREPARED) return -EBADFD;
    state_ = SND_PCM_STATE_RUNNING;
    return 0;
  }

 private:
  // Frames not yet heard are gone; recorded frames not yet read too.
  void EmptyLocked() {
    appl_ = hw_;
    written_.resize(static_cast<size_t>(hw_ * frameBytes_));
    recorded_.clear();
  }

  mutable std::mutex mutex_;
  const int64_t capacity_;
  const int64_t frameBytes_;
  const bool canPause_;
  snd_pcm_state_t state_ = SND_PCM_STATE_PREPARED;
  int64_t appl_ = 0;
  int64_t hw_ = 0;
  int64_t extraDelay_ = 0;
  int failure_ = 0;
  int pauseCalls_ = 0;
  std::vector<uint8_t> written_;
  std::deque<uint8_t> recorded_;
};

// The AlsaPcm face of a FakeDevice that the test keeps driving.
class FakePcm final : public AlsaPcm {
 public:
  explicit FakePcm(std::shared_ptr<FakeDevice> device) : device_(std::move(device)) {}

  snd_pcm_sframes_t Writei(const void* data, snd_pcm_uframes_t frames) override { return device_->Writei(data, frames); }
  snd_pcm_sframes_t Readi(void* data, snd_pcm_uframes_t frames) override { return device_->Readi(data, frames); }
  int Delay(snd_pcm_sframes_t* frames) override { return device_->Delay(frames); }
  snd_pcm_state_t State() override { return device_->State(); }
  bool CanPause() const override { return device_->CanPause(); }
  int Pause(bool enable) override { return device_->Pause(enable); }
  int Drop() override { return device_->Drop(); }
  int Prepare() override { return device_->Prepare(); }
  int Recover(int error) override {
    return error == -EPIPE || error == -ESTRPIPE ? device_->Prepare() : error;
  }
  int Start() override { return device_->Start(); }
  // No descriptors: the stream's waits end by wake-up or timeout.
  int PollDescriptors(pollfd*, unsigned) override { return 0; }
  int PollRevents(pollfd*, unsigned, unsigned short* revents) override {
    *revents = 0;
    return 0;
  }

 private:
  std::shared_ptr<FakeDevice> device_;
};

}  // namespace morvex::wave::testing
