// The virtual-clock sound device for tests: time moves only when the test advances it, every
// stream consumes or records exactly the frames that the elapsed time holds, and Advance()
// returns only after every device on the clock has reacted, so that results are deterministic.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/wave/pcm_backend.h"

namespace morvex::wave {

class VirtualClock {
 public:
  VirtualClock();
  ~VirtualClock();
  VirtualClock(const VirtualClock&) = delete;
  VirtualClock& operator=(const VirtualClock&) = delete;

  // Waits until every device has taken in what it was given, moves time forward, and waits
  // until every device has handed on what the step produced (buffers and messages).
  void Advance(std::chrono::nanoseconds step);
  // Bytes that recording streams take, in their own format, before they record silence.
  void FeedInput(const void* bytes, size_t count);
  // The bytes heard so far from the `index`-th playback stream opened on this clock.
  std::vector<uint8_t> Heard(size_t index) const;
  size_t OutputStreamCount() const;
  // Whether playback streams opened from now on can pause (as some ALSA devices cannot).
  void SetPauseSupported(bool supported);

  std::unique_ptr<PcmOutput> OpenOutput(const PcmFormat& format);
  std::unique_ptr<PcmInput> OpenInput(const PcmFormat& format);

 private:
  class Endpoint;
  class Output;
  class Input;
  struct OutputRecord {
    std::vector<uint8_t> bytes;  // everything delivered and not dropped
    const Output* live = nullptr;
  };

  bool AllSettled() const;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  int64_t now_ = 0;  // nanoseconds
  uint64_t tick_ = 0;
  std::vector<Endpoint*> endpoints_;
  std::vector<OutputRecord> outputs_;
  std::deque<uint8_t> input_;
  bool pauseSupported_ = true;
};

}  // namespace morvex::wave
