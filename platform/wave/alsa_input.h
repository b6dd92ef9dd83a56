// Capture through an ALSA PCM. An overrun is recovered and recording goes on; a device that
// fails otherwise stops delivering frames, said once on standard error.
#pragma once

#include <memory>
#include <mutex>

#include "platform/wave/alsa_pcm.h"
#include "platform/wave/pcm_backend.h"
#include "platform/wave/wakeup.h"

namespace morvex::wave {

class AlsaInput final : public PcmInput {
 public:
  explicit AlsaInput(std::unique_ptr<AlsaPcm> pcm);

  // False when the wake-up descriptor could not be made (no descriptors left).
  bool Usable() const { return wakeup_.Valid(); }

  void Start() override;
  void Stop() override;
  int64_t Read(uint8_t* data, int64_t frames) override;
  void Wait(bool wantData, std::chrono::microseconds timeout) override;
  void Wake() override;

 private:
  void Fail(int error);

  Wakeup wakeup_;
  std::mutex mutex_;  // serialises the calls on pcm_
  std::unique_ptr<AlsaPcm> pcm_;
  bool failed_ = false;
};

}  // namespace morvex::wave
