#include "platform/wave/virtual_clock.h"

#include <algorithm>
#include <cassert>

#include "platform/wave/frame_clock.h"

namespace morvex::wave {

// Waiting and waking on the clock. A device thread is settled while it waits with no wake-up
// pending and has seen the latest step; the clock moves only while all of them are settled.
class VirtualClock::Endpoint {
 public:
  explicit Endpoint(VirtualClock& clock) : clock_(clock) {
    std::lock_guard lock(clock_.mutex_);
    clock_.endpoints_.push_back(this);
  }
  virtual ~Endpoint() {
    std::lock_guard lock(clock_.mutex_);
    std::erase(clock_.endpoints_, this);
    clock_.changed_.notify_all();
  }
  Endpoint(const Endpoint&) = delete;
  Endpoint& operator=(const Endpoint&) = delete;

  bool Settled() const { return waiting_ && !woken_ && seenTick_ == clock_.tick_; }

 protected:
  // Time is virtual, so a timeout never ends a wait: only a step or a wake-up does.
  void WaitForStep() {
    std::unique_lock lock(clock_.mutex_);
    if (!woken_) {
      waiting_ = true;
      seenTick_ = clock_.tick_;
      clock_.changed_.notify_all();
      clock_.changed_.wait(lock, [this] { return woken_ || clock_.tick_ != seenTick_; });
      waiting_ = false;
    }
    woken_ = false;
  }
  void WakeUp() {
    std::lock_guard lock(clock_.mutex_);
    woken_ = true;
    clock_.changed_.notify_all();
  }

  VirtualClock& clock_;

 private:
  bool waiting_ = false;
  bool woken_ = false;
  uint64_t seenTick_ = 0;
};

class VirtualClock::Output final : public PcmOutput, public Endpoint {
 public:
  Output(VirtualClock& clock, const PcmFormat& format, size_t record)
      : Endpoint(clock), frameBytes_(format.FrameBytes()), frames_(format.rate), record_(record) {
    std::lock_guard lock(clock_.mutex_);
    clock_.outputs_[record_].live = this;
    canPause_ = clock_.pauseSupported_;
  }
  ~Output() override {
    std::lock_guard lock(clock_.mutex_);
    OutputRecord& record = clock_.outputs_[record_];
    record.bytes.resize(HeardBytes());
    record.live = nullptr;
  }

  size_t HeardBytes() const { return static_cast<size_t>(frames_.Played(clock_.now_)) * frameBytes_; }

  int64_t Write(const uint8_t* data, int64_t frames) override {
    std::lock_guard lock(clock_.mutex_);
    std::vector<uint8_t>& bytes = clock_.outputs_[record_].bytes;
    bytes.insert(bytes.end(), data, data + frames * frameBytes_);
    frames_.Deliver(frames, clock_.now_);
    return frames;
  }
  int64_t Delay() override {
    std::lock_guard lock(clock_.mutex_);
    return frames_.Delivered() - frames_.Played(clock_.now_);
  }
  bool Pause(bool paused) override {
    std::lock_guard lock(clock_.mutex_);
    if (!canPause_) return false;
    if (paused) {
      frames_.Pause(clock_.now_);
    } else {
      frames_.Resume(clock_.now_);
    }
    return true;
  }
  void Drop() override {
    std::lock_guard lock(clock_.mutex_);
    frames_.Drop(clock_.now_);
    clock_.outputs_[record_].bytes.resize(static_cast<size_t>(frames_.Delivered()) * frameBytes_);
  }
  void Wait(bool, std::chrono::microseconds) override { WaitForStep(); }
  void Wake() override { WakeUp(); }

 private:
  unsigned frameBytes_;
  FrameClock frames_;
  size_t record_;
  bool canPause_ = true;
};

class VirtualClock::Input final : public PcmInput, public Endpoint {
 public:
  Input(VirtualClock& clock, const PcmFormat& format)
      : Endpoint(clock),
        frameBytes_(format.FrameBytes()),
        rate_(format.rate),
        silence_(format.bits == 8 ? 0x80 : 0) {}

  void Start() override {
    std::lock_guard lock(clock_.mutex_);
    recording_ = true;
    startTime_ = clock_.now_;
    taken_ = 0;
  }
  void Stop() override {
    std::lock_guard lock(clock_.mutex_);
    recording_ = false;
  }
  int64_t Read(uint8_t* data, int64_t frames) override {
    std::lock_guard lock(clock_.mutex_);
    if (!recording_) return 0;
    int64_t count = std::min(frames, FramesInNanos(clock_.now_ - startTime_, rate_) - taken_);
    for (int64_t i = 0; i < count * frameBytes_; ++i) {
      if (clock_.input_.empty()) {
        data[i] = silence_;
      } else {
        data[i] = clock_.input_.front();
        clock_.input_.pop_front();
      }
    }
    taken_ += count;
    return count;
  }
  void Wait(bool, std::chrono::microseconds) override { WaitForStep(); }
  void Wake() override { WakeUp(); }

 private:
  int64_t frameBytes_;
  unsigned rate_;
  uint8_t silence_;
  bool recording_ = false;
  int64_t startTime_ = 0;
  int64_t taken_ = 0;
};

VirtualClock::VirtualClock() = default;

VirtualClock::~VirtualClock() { assert(endpoints_.empty()); }

bool VirtualClock::AllSettled() const {
  return std::all_of(endpoints_.begin(), endpoints_.end(),
                     [](const Endpoint* e) { return e->Settled(); });
}

void VirtualClock::Advance(std::chrono::nanoseconds step) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return AllSettled(); });
  now_ += step.count();
  ++tick_;
  changed_.notify_all();
  changed_.wait(lock, [this] { return AllSettled(); });
}

void VirtualClock::FeedInput(const void* bytes, size_t count) {
  std::lock_guard lock(mutex_);
  const auto* b = static_cast<const uint8_t*>(bytes);
  input_.insert(input_.end(), b, b + count);
}

std::vector<uint8_t> VirtualClock::Heard(size_t index) const {
  std::lock_guard lock(mutex_);
  const OutputRecord& record = outputs_.at(index);
  size_t heard = record.live ? record.live->HeardBytes() : record.bytes.size();
  return {record.bytes.begin(), record.bytes.begin() + static_cast<std::ptrdiff_t>(heard)};
}

size_t VirtualClock::OutputStreamCount() const {
  std::lock_guard lock(mutex_);
  return outputs_.size();
}

void VirtualClock::SetPauseSupported(bool supported) {
  std::lock_guard lock(mutex_);
  pauseSupported_ = supported;
}

std::unique_ptr<PcmOutput> VirtualClock::OpenOutput(const PcmFormat& format) {
  size_t record;
  {
    std::lock_guard lock(mutex_);
    record = outputs_.size();
    outputs_.emplace_back();
  }
  return std::make_unique<Output>(*this, format, record);
}

std::unique_ptr<PcmInput> VirtualClock::OpenInput(const PcmFormat& format) {
  return std::make_unique<Input>(*this, format);
}

}  // namespace morvex::wave
