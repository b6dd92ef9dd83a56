// Playback through an ALSA PCM. Delay() is ALSA's delay, so that the device's position is the
// frames delivered minus those still between here and the listener. An underrun is recovered
// on the next write; every frame written before it has been heard, so the count stays exact.
// A sound server's plugin may go on reporting the delay it last knew once its stream has run
// dry (the underrun state, or a stream still called running): the delay then counts as none
// once the stream is in that state, or once the time the last write said it needed has passed.
// Should the device go away, the stream carries on as the silent real-time device.
#pragma once

#include <chrono>
#include <memory>
#include <mutex>

#include "platform/wave/alsa_pcm.h"
#include "platform/wave/pcm_backend.h"
#include "platform/wave/wakeup.h"

namespace morvex::wave {

class AlsaOutput final : public PcmOutput {
 public:
  AlsaOutput(std::unique_ptr<AlsaPcm> pcm, const PcmFormat& format);

  // False when the wake-up descriptor could not be made (no descriptors left).
  bool Usable() const { return wakeup_.Valid(); }

  int64_t Write(const uint8_t* data, int64_t frames) override;
  int64_t Delay() override;
  bool Pause(bool paused) override;
  void Drop() override;
  void Wait(bool wantSpace, std::chrono::microseconds timeout) override;
  void Wake() override;

 private:
  void Lose(int error);
  // Under the lock: nothing written is left to be heard.
  void Emptied();
  // Under the lock: ALSA's delay, 0 when it cannot be asked or is known to be stale.
  int64_t CurrentDelay();
  std::chrono::steady_clock::duration Duration(int64_t frames) const;

  const PcmFormat format_;
  Wakeup wakeup_;
  std::mutex mutex_;  // serialises the calls on pcm_
  std::unique_ptr<AlsaPcm> pcm_;
  // Frames written since the buffer was last empty: ALSA's delay cannot be more.
  int64_t pending_ = 0;
  // When the frames written so far will all have been heard, by the delay after the last write.
  std::chrono::steady_clock::time_point drainedBy_{};
  std::chrono::steady_clock::time_point pausedAt_{};
  bool paused_ = false;
  bool ranDry_ = false;  // said once a stream
  std::unique_ptr<PcmOutput> lost_;
};

}  // namespace morvex::wave
