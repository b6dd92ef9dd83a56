// The silent playback device: takes every frame at once and counts it as heard at the
// format's rate against the steady clock. It stands in when the machine has no playback
// device, so that the program runs with a position that moves as sound would.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/wave/frame_clock.h"
#include "platform/wave/pcm_backend.h"

namespace morvex::wave {

class SilentOutput final : public PcmOutput {
 public:
  explicit SilentOutput(const PcmFormat& format);

  int64_t Write(const uint8_t* data, int64_t frames) override;
  int64_t Delay() override;
  bool Pause(bool paused) override;
  void Drop() override;
  void Wait(bool wantSpace, std::chrono::microseconds timeout) override;
  void Wake() override;

 private:
  std::mutex mutex_;
  std::condition_variable wakeUp_;
  bool woken_ = false;
  FrameClock clock_;
};

}  // namespace morvex::wave
