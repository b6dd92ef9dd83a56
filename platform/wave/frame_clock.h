// Playback driven by a clock: how many of the delivered frames have been heard at a given
// time. The silent device runs it on the steady clock, the virtual device on test time.
#pragma once

#include <cstdint>

namespace morvex::wave {

// Whole frames that `nanos` nanoseconds hold at `rate` frames per second (rounded down).
int64_t FramesInNanos(int64_t nanos, unsigned rate);

class FrameClock {
 public:
  explicit FrameClock(unsigned rate) : rate_(rate) {}

  // Appends frames behind those still to be heard. When everything delivered so far has been
  // heard, the new frames start playing now: an idle device does not count idle time.
  void Deliver(int64_t frames, int64_t now);
  int64_t Played(int64_t now) const;
  int64_t Delivered() const { return delivered_; }
  void Pause(int64_t now);
  void Resume(int64_t now);
  // Forgets the frames not yet heard.
  void Drop(int64_t now);

 private:
  unsigned rate_;
  bool paused_ = false;
  int64_t delivered_ = 0;
  int64_t anchorFrames_ = 0;  // frames heard at anchorTime_
  int64_t anchorTime_ = 0;
};

}  // namespace morvex::wave
