#include "platform/wave/frame_clock.h"

#include <algorithm>

namespace morvex::wave {

int64_t FramesInNanos(int64_t nanos, unsigned rate) {
  constexpr int64_t kNanosPerSecond = 1000000000;
  if (nanos <= 0) return 0;
  // Split into seconds so that the product cannot overflow however long a stream runs.
  return nanos / kNanosPerSecond * rate + nanos % kNanosPerSecond * rate / kNanosPerSecond;
}

void FrameClock::Deliver(int64_t frames, int64_t now) {
  if (!paused_ && Played(now) == delivered_) {
    anchorFrames_ = delivered_;
    anchorTime_ = now;
  }
  delivered_ += frames;
}

int64_t FrameClock::Played(int64_t now) const {
  if (paused_) return anchorFrames_;
  return std::min(delivered_, anchorFrames_ + FramesInNanos(now - anchorTime_, rate_));
}

void FrameClock::Pause(int64_t now) {
  if (paused_) return;
  anchorFrames_ = Played(now);
  paused_ = true;
}

void FrameClock::Resume(int64_t now) {
  if (!paused_) return;
  paused_ = false;
  anchorTime_ = now;
}

void FrameClock::Drop(int64_t now) {
  delivered_ = Played(now);
  anchorFrames_ = delivered_;
  anchorTime_ = now;
}

}  // namespace morvex::wave
