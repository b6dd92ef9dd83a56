// The narrow interface between the wave device threads and whatever produces or takes the
// sound: ALSA, the silent real-time device, or the virtual-clock device of the tests.
#pragma once

#include <chrono>
#include <cstdint>

namespace morvex::wave {

// Interleaved PCM: 8-bit unsigned or 16-bit signed little-endian samples.
struct PcmFormat {
  unsigned rate = 0;
  unsigned channels = 0;
  unsigned bits = 0;

  unsigned FrameBytes() const { return channels * (bits / 8); }
};

// Waits passed this timeout last until progress or a wake-up, however long that takes.
inline constexpr std::chrono::microseconds kNoTimeout = std::chrono::microseconds::max();

// A playback stream. Every method may be called from any thread; the device serialises all
// calls but Wait() and Wake(), so that the frames it counts as delivered and Delay() agree.
class PcmOutput {
 public:
  virtual ~PcmOutput() = default;

  // Takes up to `frames` frames without blocking; returns how many it took (0 when full).
  virtual int64_t Write(const uint8_t* data, int64_t frames) = 0;
  // Frames taken but not yet heard.
  virtual int64_t Delay() = 0;
  // Stops (true) or resumes (false) the sound, keeping what is buffered. Returns false when the
  // stream cannot pause; the device then drops the unheard frames and writes them again later.
  virtual bool Pause(bool paused) = 0;
  // Discards every frame not yet heard.
  virtual void Drop() = 0;
  // Blocks until the stream can take frames (only when `wantSpace`), `timeout` has passed, or
  // Wake() is called. A wake-up that comes before the wait makes it return at once.
  virtual void Wait(bool wantSpace, std::chrono::microseconds timeout) = 0;
  virtual void Wake() = 0;
};

// A capture stream, serialised the same way.
class PcmInput {
 public:
  virtual ~PcmInput() = default;

  // Starts recording; frames recorded before it are not kept.
  virtual void Start() = 0;
  // Stops recording and discards what was not read.
  virtual void Stop() = 0;
  // Moves up to `frames` recorded frames into `data` without blocking; returns how many.
  virtual int64_t Read(uint8_t* data, int64_t frames) = 0;
  // Blocks until frames can be read (only when `wantData`), `timeout` has passed, or Wake().
  virtual void Wait(bool wantData, std::chrono::microseconds timeout) = 0;
  virtual void Wake() = 0;
};

}  // namespace morvex::wave
