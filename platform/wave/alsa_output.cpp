#include "platform/wave/alsa_output.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/wave/silent_output.h"

namespace morvex::wave {

AlsaOutput::AlsaOutput(std::unique_ptr<AlsaPcm> pcm, const PcmFormat& format)
    : format_(format), pcm_(std::move(pcm)) {}

int64_t AlsaOutput::Write(const uint8_t* data, int64_t frames) {
  std::lock_guard lock(mutex_);
  if (lost_) return lost_->Write(data, frames);
  snd_pcm_sframes_t written = pcm_->Writei(data, static_cast<snd_pcm_uframes_t>(frames));
  if (written >= 0) {
    pending_ += written;
    return written;
  }
  if (written == -EAGAIN) return 0;
  if ((written == -EPIPE || written == -ESTRPIPE) && pcm_->Recover(static_cast<int>(written)) >= 0) {
    // An underrun: every frame written before it has been heard. The stream takes frames
    // again at once, and the next write restarts it.
    if (!ranDry_) {
      std::fprintf(stderr, "morvex: the sound ran dry (the program was held up); it goes on where it stopped\n");
      ranDry_ = true;
    }
    pending_ = 0;
    return 0;
  }
  Lose(static_cast<int>(written));
  return lost_->Write(data, frames);
}

int64_t AlsaOutput::Delay() {
  std::lock_guard lock(mutex_);
  if (lost_) return lost_->Delay();
  snd_pcm_sframes_t delay = 0;
  // An underrun (or worse): nothing written is left to be heard, whatever the delay says.
  if (pcm_->State() == SND_PCM_STATE_XRUN || pcm_->Delay(&delay) < 0) return 0;
  return std::clamp<int64_t>(delay, 0, pending_);
}

bool AlsaOutput::Pause(bool paused) {
  std::lock_guard lock(mutex_);
  if (lost_) return lost_->Pause(paused);
  if (!pcm_->CanPause()) return false;
  // A stream that is not running (nothing written yet, or run dry) has nothing to hold.
  snd_pcm_state_t state = pcm_->State();
  if (paused && state == SND_PCM_STATE_RUNNING) return pcm_->Pause(true) >= 0;
  if (!paused && state == SND_PCM_STATE_PAUSED && pcm_->Pause(false) < 0) {
    pcm_->Drop();
    pcm_->Prepare();
    pending_ = 0;
  }
  return true;
}

void AlsaOutput::Drop() {
  std::lock_guard lock(mutex_);
  if (lost_) {
    lost_->Drop();
    return;
  }
  pcm_->Drop();
  pcm_->Prepare();
  pending_ = 0;
}

void AlsaOutput::Wait(bool wantSpace, std::chrono::microseconds timeout) {
  PcmOutput* lost;
  {
    std::lock_guard lock(mutex_);
    lost = lost_.get();
  }
  if (lost != nullptr) {
    lost->Wait(wantSpace, timeout);
  } else {
    WaitForPcm(mutex_, wantSpace ? pcm_.get() : nullptr, wakeup_, timeout);
  }
}

void AlsaOutput::Wake() {
  std::lock_guard lock(mutex_);
  if (lost_) lost_->Wake();
  wakeup_.Signal();
}

void AlsaOutput::Lose(int error) {
  std::fprintf(stderr, "morvex: sound output device lost (%s); playing silently in real time\n",
               snd_strerror(error));
  lost_ = std::make_unique<SilentOutput>(format_);
  pending_ = 0;
}

}  // namespace morvex::wave
