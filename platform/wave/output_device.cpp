#include "platform/wave/output_device.h"

#include <algorithm>

namespace morvex::wave {
namespace {

// Woken earlier than this, a device thread would only find the position barely moved.
constexpr std::chrono::microseconds kShortestWait{1000};

// A buffer plays whole frames; bytes short of a last whole frame are not played.
int64_t PlayableBytes(const WAVEHDR* header, int64_t frameBytes) {
  return header->dwBufferLength - header->dwBufferLength % frameBytes;
}

int64_t StreamEnd(const WAVEHDR* header) { return static_cast<int64_t>(header->reserved); }

}  // namespace

OutputDevice::OutputDevice(const DeviceWindow& window, const PcmFormat& format,
                           std::unique_ptr<PcmOutput> stream)
    : window_(window), format_(format), frameBytes_(format.FrameBytes()), stream_(std::move(stream)) {}

void OutputDevice::Start(HWAVEOUT handle) {
  handle_ = reinterpret_cast<WPARAM>(handle);
  window_.Post(MM_WOM_OPEN, handle_, 0);
  thread_ = std::thread([this] { Run(); });
}

void OutputDevice::Run() {
  std::unique_lock lock(mutex_);
  while (!closed_) {
    bool wantSpace = !paused_ && Deliver();
    int64_t position = UpdatePosition();
    HandBackHeard(position);
    std::chrono::microseconds timeout = TimeUntilFrontHeard(position);
    lock.unlock();
    stream_->Wait(wantSpace, timeout);
    lock.lock();
  }
}

bool OutputDevice::Deliver() {
  for (WAVEHDR* header = queue_.Front(); header != nullptr; header = header->lpNext) {
    int64_t end = StreamEnd(header);
    if (delivered_ >= end) continue;
    int64_t start = end - PlayableBytes(header, frameBytes_);
    int64_t frames = (end - delivered_) / frameBytes_;
    const auto* data = reinterpret_cast<const uint8_t*>(header->lpData) + (delivered_ - start);
    int64_t taken = stream_->Write(data, frames);
    delivered_ += taken * frameBytes_;
    if (taken < frames) return true;
  }
  return false;
}

int64_t OutputDevice::UpdatePosition() {
  int64_t delay = std::max<int64_t>(0, stream_->Delay());
  position_ = std::max(position_, delivered_ - delay * frameBytes_);
  return position_;
}

void OutputDevice::HandBackHeard(int64_t position) {
  while (!queue_.Empty() && StreamEnd(queue_.Front()) <= position) HandBackFront();
}

// Messages are posted under the lock, so that they leave in the order the device makes them.
void OutputDevice::HandBackFront() {
  WAVEHDR* header = queue_.PopDone();
  window_.Post(MM_WOM_DONE, handle_, reinterpret_cast<LPARAM>(header));
}

std::chrono::microseconds OutputDevice::TimeUntilFrontHeard(int64_t position) const {
  if (paused_ || queue_.Empty()) return kNoTimeout;
  int64_t frames = (StreamEnd(queue_.Front()) - position) / frameBytes_;
  int64_t micros = (frames * 1000000 + format_.rate - 1) / format_.rate;
  return std::max(kShortestWait, std::chrono::microseconds(micros));
}

MMRESULT OutputDevice::Prepare(WAVEHDR* header) {
  std::lock_guard lock(mutex_);
  if (closed_) return MMSYSERR_INVALHANDLE;
  MarkPrepared(header);
  return MMSYSERR_NOERROR;
}

MMRESULT OutputDevice::Unprepare(WAVEHDR* header) {
  std::lock_guard lock(mutex_);
  if (closed_) return MMSYSERR_INVALHANDLE;
  return MarkUnprepared(header);
}

MMRESULT OutputDevice::Write(WAVEHDR* header) {
  std::lock_guard lock(mutex_);
  if (closed_) return MMSYSERR_INVALHANDLE;
  // With nothing queued, everything delivered has been heard, and the new buffer follows it.
  int64_t start = queue_.Empty() ? delivered_ : StreamEnd(queue_.Back());
  MMRESULT result = queue_.Push(header);
  if (result != MMSYSERR_NOERROR) return result;
  header->reserved = static_cast<DWORD_PTR>(start + PlayableBytes(header, frameBytes_));
  stream_->Wake();
  return MMSYSERR_NOERROR;
}

MMRESULT OutputDevice::Reset() {
  std::lock_guard lock(mutex_);
  if (closed_) return MMSYSERR_INVALHANDLE;
  delivered_ = UpdatePosition();
  stream_->Drop();
  while (!queue_.Empty()) HandBackFront();
  stream_->Wake();
  return MMSYSERR_NOERROR;
}

MMRESULT OutputDevice::Pause() {
  std::lock_guard lock(mutex_);
  if (closed_) return MMSYSERR_INVALHANDLE;
  if (paused_) return MMSYSERR_NOERROR;
  paused_ = true;
  pausedInStream_ = stream_->Pause(true);
  if (!pausedInStream_) {
    // The stream cannot hold its sound: drop it, and write the unheard bytes again on restart.
    delivered_ = UpdatePosition();
    stream_->Drop();
  }
  stream_->Wake();
  return MMSYSERR_NOERROR;
}

MMRESULT OutputDevice::Restart() {
  std::lock_guard lock(mutex_);
  if (closed_) return MMSYSERR_INVALHANDLE;
  if (!paused_) return MMSYSERR_NOERROR;
  paused_ = false;
  if (pausedInStream_) stream_->Pause(false);
  pausedInStream_ = false;
  stream_->Wake();
  return MMSYSERR_NOERROR;
}

MMRESULT OutputDevice::Close() {
  {
    std::lock_guard lock(mutex_);
    if (closed_) return MMSYSERR_INVALHANDLE;
    if (!queue_.Empty()) return WAVERR_STILLPLAYING;
    closed_ = true;
    stream_->Wake();
  }
  thread_.join();
  std::lock_guard lock(mutex_);
  stream_.reset();
  window_.Post(MM_WOM_CLOSE, handle_, 0);
  return MMSYSERR_NOERROR;
}

MMRESULT OutputDevice::Position(int64_t* bytes) {
  std::lock_guard lock(mutex_);
  if (closed_) return MMSYSERR_INVALHANDLE;
  *bytes = UpdatePosition();
  return MMSYSERR_NOERROR;
}

// A device that was never closed (the process ends) still stops its thread.
OutputDevice::~OutputDevice() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    if (stream_) stream_->Wake();
  }
  if (thread_.joinable()) thread_.join();
}

}  // namespace morvex::wave
