// Playback through an ALSA PCM. Delay() is ALSA's delay, so that the device's position is the
// frames delivered minus those still between here and the listener. An underrun is recovered
// on the next write; every frame written before it has been heard, so the count stays exact.
// A stream that has run dry is in the underrun state, where a sound server's plugin goes on
// reporting the delay it last knew: the state, not that delay, says nothing is left.
// Should the device go away, the stream carries on as the silent real-time device.
#pragma once

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

  const PcmFormat format_;
  Wakeup wakeup_;
  std::mutex mutex_;  // serialises the calls on pcm_
  std::unique_ptr<AlsaPcm> pcm_;
  // Frames written since the buffer was last empty: ALSA's delay cannot be more.
  int64_t pending_ = 0;
  bool ranDry_ = false;  // said once a stream
  std::unique_ptr<PcmOutput> lost_;
};

}  // namespace morvex::wave
