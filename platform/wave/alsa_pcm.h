// The few ALSA PCM calls the ALSA streams use, behind an interface so that a fake device can
// stand in for tests. The real one wraps a snd_pcm_t opened non-blocking.
#pragma once

#include <alsa/asoundlib.h>
#include <poll.h>

#include <chrono>
#include <memory>
#include <mutex>

#include "platform/win32/mmsystem.h"
#include "platform/wave/pcm_backend.h"
#include "platform/wave/wakeup.h"

namespace morvex::wave {

class AlsaPcm {
 public:
  virtual ~AlsaPcm() = default;

  virtual snd_pcm_sframes_t Writei(const void* data, snd_pcm_uframes_t frames) = 0;
  virtual snd_pcm_sframes_t Readi(void* data, snd_pcm_uframes_t frames) = 0;
  virtual int Delay(snd_pcm_sframes_t* frames) = 0;
  virtual snd_pcm_state_t State() = 0;
  virtual bool CanPause() const = 0;
  virtual int Pause(bool enable) = 0;
  virtual int Drop() = 0;
  virtual int Prepare() = 0;
  virtual int Recover(int error) = 0;
  virtual int Start() = 0;
  // Descriptors to poll for readiness, and the readiness (POLLIN, POLLOUT, POLLERR) they show.
  virtual int PollDescriptors(pollfd* fds, unsigned space) = 0;
  virtual int PollRevents(pollfd* fds, unsigned count, unsigned short* revents) = 0;
};

// Opens the named PCM for playback or capture in `format`: interleaved, 8-bit unsigned or
// 16-bit signed little-endian, the format's rate through ALSA's conversion where the device
// needs it, about 500 ms of buffer in 25 ms periods. Playback starts with the first frame
// written. MMSYSERR_NODRIVER when the PCM cannot be opened at all, WAVERR_BADFORMAT when it
// refuses the format; `alsaError` then holds ALSA's error code.
MMRESULT OpenAlsaPcm(const char* name, snd_pcm_stream_t direction, const PcmFormat& format,
                     std::unique_ptr<AlsaPcm>* pcm, int* alsaError);

// Blocks until `pcm` is ready (when given), `timeout` passes or `wakeup` is signalled. `lock`
// serialises the calls on `pcm`; it is held around them but not during the wait.
void WaitForPcm(std::mutex& lock, AlsaPcm* pcm, Wakeup& wakeup, std::chrono::microseconds timeout);

}  // namespace morvex::wave
