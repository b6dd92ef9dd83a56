#include "platform/wave/input_device.h"

namespace morvex::wave {
namespace {

constexpr int64_t kDiscardFrames = 1024;

}  // namespace

InputDevice::InputDevice(const DeviceWindow& window, const PcmFormat& format,
                         std::unique_ptr<PcmInput> stream)
    : window_(window),
      frameBytes_(format.FrameBytes()),
      stream_(std::move(stream)),
      discard_(static_cast<size_t>(kDiscardFrames * frameBytes_)) {}

// A device that was never closed (the process ends) still stops its thread.
InputDevice::~InputDevice() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    if (stream_) stream_->Wake();
  }
  if (thread_.joinable()) thread_.join();
}

void InputDevice::Start(HWAVEIN handle) {
  handle_ = reinterpret_cast<WPARAM>(handle);
  window_.Post(MM_WIM_OPEN, handle_, 0);
  thread_ = std::thread([this] { Run(); });
}

void InputDevice::Run() {
  std::unique_lock lock(mutex_);
  while (!closed_) {
    bool recording = recording_;
    if (recording) Capture();
    lock.unlock();
    stream_->Wait(recording, kNoTimeout);
    lock.lock();
  }
}

void InputDevice::Capture() {
  for (;;) {
    WAVEHDR* header = queue_.Front();
    if (header == nullptr) {
      // One read per pass: a stream that records faster than real time cannot hold the lock.
      stream_->Read(discard_.data(), kDiscardFrames);
      return;
    }
    int64_t room = (header->dwBufferLength - header->dwBytesRecorded) / frameBytes_;
    auto* data = reinterpret_cast<uint8_t*>(header->lpData) + header->dwBytesRecorded;
    int64_t taken = room > 0 ? stream_->Read(data, room) : 0;
    header->dwBytesRecorded += static_cast<DWORD>(taken * frameBytes_);
    if (taken < room) return;
    HandBackFront();
  }
}

// Messages are posted under the lock, so that they leave in the order the device makes them.
void InputDevice::HandBackFront() {
  WAVEHDR* header = queue_.PopDone();
  window_.Post(MM_WIM_DATA, handle_, reinterpret_cast<LPARAM>(header));
}

MMRESULT InputDevice::Prepare(WAVEHDR* header) {
  std::lock_guard lock(mutex_);
  if (closed_) return MMSYSERR_INVALHANDLE;
  MarkPrepared(header);
  return MMSYSERR_NOERROR;
}

MMRESULT InputDevice::Unprepare(WAVEHDR* header) {
  std::lock_guard lock(mutex_);
  if (closed_) return MMSYSERR_INVALHANDLE;
  return MarkUnprepared(header);
}

MMRESULT InputDevice::AddBuffer(WAVEHDR* header) {
  std::lock_guard lock(mutex_);
  if (closed_) return MMSYSERR_INVALHANDLE;
  MMRESULT result = queue_.Push(header);
  if (result != MMSYSERR_NOERROR) return result;
  header->dwBytesRecorded = 0;
  stream_->Wake();
  return MMSYSERR_NOERROR;
}

MMRESULT InputDevice::StartRecording() {
  std::lock_guard lock(mutex_);
  if (closed_) return MMSYSERR_INVALHANDLE;
  if (recording_) return MMSYSERR_NOERROR;
  recording_ = true;
  stream_->Start();
  stream_->Wake();
  return MMSYSERR_NOERROR;
}

void InputDevice::StopRecordingLocked() {
  if (!recording_) return;
  recording_ = false;
  stream_->Stop();
  stream_->Wake();
}

MMRESULT InputDevice::Reset() {
  std::lock_guard lock(mutex_);
  if (closed_) return MMSYSERR_INVALHANDLE;
  StopRecordingLocked();
  while (!queue_.Empty()) HandBackFront();
  return MMSYSERR_NOERROR;
}

MMRESULT InputDevice::Close() {
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
  window_.Post(MM_WIM_CLOSE, handle_, 0);
  return MMSYSERR_NOERROR;
}

}  // namespace morvex::wave
