#include "platform/wave/alsa_pcm.h"

#include <algorithm>
#include <array>

namespace morvex::wave {
namespace {

// Half a second, as ALSA's own player takes: a sound server's plugin loses track of its ring
// when its stream drains a whole buffer between two calls, which a loaded desktop's scheduler
// easily causes with a tenth of a second; then the stream stalls until it runs dry. The
// position subtracts the delay, so the pictures stay with the sound whatever the buffer.
constexpr unsigned kBufferMicros = 500000;
constexpr unsigned kPeriodMicros = 25000;
constexpr unsigned kMaxDescriptors = 8;

// ALSA prints its own diagnostics (a missing card shows as a page of them); the devices report
// failures themselves, in one line.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

class SystemPcm final : public AlsaPcm {
 public:
  SystemPcm(snd_pcm_t* pcm, bool canPause) : pcm_(pcm), canPause_(canPause) {}
  ~SystemPcm() override {
    snd_pcm_drop(pcm_);
    snd_pcm_close(pcm_);
  }
  SystemPcm(const SystemPcm&) = delete;
  SystemPcm& operator=(const SystemPcm&) = delete;

  snd_pcm_sframes_t Writei(const void* data, snd_pcm_uframes_t frames) override {
    return snd_pcm_writei(pcm_, data, frames);
  }
  snd_pcm_sframes_t Readi(void* data, snd_pcm_uframes_t frames) override {
    return snd_pcm_readi(pcm_, data, frames);
  }
  int Delay(snd_pcm_sframes_t* frames) override { return snd_pcm_delay(pcm_, frames); }
  snd_pcm_state_t State() override { return snd_pcm_state(pcm_); }
  bool CanPause() const override { return canPause_; }
  int Pause(bool enable) override { return snd_pcm_pause(pcm_, enable ? 1 : 0); }
  int Drop() override { return snd_pcm_drop(pcm_); }
  int Prepare() override { return snd_pcm_prepare(pcm_); }
  int Recover(int error) override { return snd_pcm_recover(pcm_, error, 1); }
  int Start() override { return snd_pcm_start(pcm_); }
  int PollDescriptors(pollfd* fds, unsigned space) override {
    return snd_pcm_poll_descriptors(pcm_, fds, space);
  }
  int PollRevents(pollfd* fds, unsigned count, unsigned short* revents) override {
    return snd_pcm_poll_descriptors_revents(pcm_, fds, count, revents);
  }

 private:
  snd_pcm_t* pcm_;
  bool canPause_;
};

// Sets up `pcm`; returns ALSA's error code, 0 on success.
int Configure(snd_pcm_t* pcm, snd_pcm_stream_t direction, const PcmFormat& format, bool* canPause) {
  snd_pcm_hw_params_t* hw = nullptr;
  int err = snd_pcm_hw_params_malloc(&hw);
  if (err < 0) return err;
  unsigned bufferMicros = kBufferMicros;
  unsigned periodMicros = kPeriodMicros;
  if ((err = snd_pcm_hw_params_any(pcm, hw)) >= 0 &&
      (err = snd_pcm_hw_params_set_access(pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED)) >= 0 &&
      (err = snd_pcm_hw_params_set_format(
           pcm, hw, format.bits == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE)) >= 0 &&
      (err = snd_pcm_hw_params_set_channels(pcm, hw, format.channels)) >= 0 &&
      (err = snd_pcm_hw_params_set_rate(pcm, hw, format.rate, 0)) >= 0 &&
      (err = snd_pcm_hw_params_set_buffer_time_near(pcm, hw, &bufferMicros, nullptr)) >= 0 &&
      (err = snd_pcm_hw_params_set_period_time_near(pcm, hw, &periodMicros, nullptr)) >= 0 &&
      (err = snd_pcm_hw_params(pcm, hw)) >= 0) {
    *canPause = snd_pcm_hw_params_can_pause(hw) != 0;
  }
  snd_pcm_hw_params_free(hw);
  if (err < 0) return err;

  snd_pcm_uframes_t bufferFrames = 0, periodFrames = 0;
  if ((err = snd_pcm_get_params(pcm, &bufferFrames, &periodFrames)) < 0) return err;
  snd_pcm_sw_params_t* sw = nullptr;
  if ((err = snd_pcm_sw_params_malloc(&sw)) < 0) return err;
  // Playback starts with its first frame, so that a short last buffer is played too; capture
  // starts when asked.
  snd_pcm_uframes_t startThreshold = direction == SND_PCM_STREAM_PLAYBACK ? 1 : bufferFrames + 1;
  if ((err = snd_pcm_sw_params_current(pcm, sw)) >= 0 &&
      (err = snd_pcm_sw_params_set_start_threshold(pcm, sw, startThreshold)) >= 0 &&
      (err = snd_pcm_sw_params_set_avail_min(pcm, sw, periodFrames)) >= 0) {
    err = snd_pcm_sw_params(pcm, sw);
  }
  snd_pcm_sw_params_free(sw);
  return err < 0 ? err : 0;
}

}  // namespace

MMRESULT OpenAlsaPcm(const char* name, snd_pcm_stream_t direction, const PcmFormat& format,
                     std::unique_ptr<AlsaPcm>* pcm, int* alsaError) {
  static std::once_flag quiet;
  std::call_once(quiet, [] { snd_lib_error_set_handler(QuietAlsa); });
  snd_pcm_t* handle = nullptr;
  *alsaError = snd_pcm_open(&handle, name, direction, SND_PCM_NONBLOCK);
  if (*alsaError < 0) return MMSYSERR_NODRIVER;
  bool canPause = false;
  *alsaError = Configure(handle, direction, format, &canPause);
  if (*alsaError < 0) {
    snd_pcm_close(handle);
    return WAVERR_BADFORMAT;
  }
  *pcm = std::make_unique<SystemPcm>(handle, canPause);
  return MMSYSERR_NOERROR;
}

void WaitForPcm(std::mutex& lock, AlsaPcm* pcm, Wakeup& wakeup, std::chrono::microseconds timeout) {
  std::array<pollfd, kMaxDescriptors + 1> fds{};
  int count = 0;
  if (pcm != nullptr) {
    std::lock_guard guard(lock);
    count = std::max(0, pcm->PollDescriptors(fds.data(), kMaxDescriptors));
  }
  fds[count] = pollfd{wakeup.Fd(), POLLIN, 0};
  int timeoutMs = -1;
  if (timeout != kNoTimeout) {
    auto ms = std::chrono::ceil<std::chrono::milliseconds>(std::min<std::chrono::microseconds>(timeout, std::chrono::hours(1)));
    timeoutMs = static_cast<int>(ms.count());
  }
  poll(fds.data(), count + 1, timeoutMs);
  if (count > 0) {
    // Plugins use the descriptors for their own signalling; asking for the events settles it.
    std::lock_guard guard(lock);
    unsigned short revents = 0;
    pcm->PollRevents(fds.data(), count, &revents);
  }
  if (fds[count].revents & POLLIN) wakeup.Clear();
}

}  // namespace morvex::wave
