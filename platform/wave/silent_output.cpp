#include "platform/wave/silent_output.h"

namespace morvex::wave {
namespace {

int64_t Now() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

SilentOutput::SilentOutput(const PcmFormat& format) : clock_(format.rate) {}

int64_t SilentOutput::Write(const uint8_t*, int64_t frames) {
  std::lock_guard lock(mutex_);
  clock_.Deliver(frames, Now());
  return frames;
}

int64_t SilentOutput::Delay() {
  std::lock_guard lock(mutex_);
  return clock_.Delivered() - clock_.Played(Now());
}

bool SilentOutput::Pause(bool paused) {
  std::lock_guard lock(mutex_);
  if (paused) {
    clock_.Pause(Now());
  } else {
    clock_.Resume(Now());
  }
  return true;
}

void SilentOutput::Drop() {
  std::lock_guard lock(mutex_);
  clock_.Drop(Now());
}

// There is never a lack of space, so only time and wake-ups end the wait.
void SilentOutput::Wait(bool, std::chrono::microseconds timeout) {
  std::unique_lock lock(mutex_);
  if (timeout == kNoTimeout) {
    wakeUp_.wait(lock, [this] { return woken_; });
  } else {
    wakeUp_.wait_for(lock, timeout, [this] { return woken_; });
  }
  woken_ = false;
}

void SilentOutput::Wake() {
  std::lock_guard lock(mutex_);
  woken_ = true;
  wakeUp_.notify_one();
}

}  // namespace morvex::wave
