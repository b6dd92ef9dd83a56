#include "platform/wave/alsa_input.h"

#include <cerrno>
#include <cstdio>

namespace morvex::wave {

AlsaInput::AlsaInput(std::unique_ptr<AlsaPcm> pcm) : pcm_(std::move(pcm)) {}

void AlsaInput::Start() {
  std::lock_guard lock(mutex_);
  if (failed_) return;
  pcm_->Drop();
  int error = pcm_->Prepare();
  if (error >= 0) error = pcm_->Start();
  if (error < 0) Fail(error);
}

void AlsaInput::Stop() {
  std::lock_guard lock(mutex_);
  if (failed_) return;
  pcm_->Drop();
  pcm_->Prepare();
}

int64_t AlsaInput::Read(uint8_t* data, int64_t frames) {
  std::lock_guard lock(mutex_);
  if (failed_) return 0;
  snd_pcm_sframes_t got = pcm_->Readi(data, static_cast<snd_pcm_uframes_t>(frames));
  if (got >= 0) return got;
  if (got == -EAGAIN) return 0;
  // An overrun loses what did not fit; recording goes on from now.
  if ((got == -EPIPE || got == -ESTRPIPE) && pcm_->Recover(static_cast<int>(got)) >= 0 &&
      pcm_->Start() >= 0) {
    return 0;
  }
  Fail(static_cast<int>(got));
  return 0;
}

void AlsaInput::Wait(bool wantData, std::chrono::microseconds timeout) {
  bool watch;
  {
    std::lock_guard lock(mutex_);
    watch = wantData && !failed_;
  }
  WaitForPcm(mutex_, watch ? pcm_.get() : nullptr, wakeup_, timeout);
}

void AlsaInput::Wake() { wakeup_.Signal(); }

void AlsaInput::Fail(int error) {
  std::fprintf(stderr, "morvex: sound input device failed (%s); recording stopped\n", snd_strerror(error));
  failed_ = true;
}

}  // namespace morvex::wave
