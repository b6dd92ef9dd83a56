// One open wave-in device: the queue of record buffers and the device thread that fills them
// from the capture stream, each handed back with MM_WIM_DATA once it is full.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/wave/header_queue.h"
#include "platform/wave/open_params.h"
#include "platform/wave/pcm_backend.h"

namespace morvex::wave {

class InputDevice {
 public:
  InputDevice(const DeviceWindow& window, const PcmFormat& format, std::unique_ptr<PcmInput> stream);
  ~InputDevice();
  InputDevice(const InputDevice&) = delete;
  InputDevice& operator=(const InputDevice&) = delete;

  // Posts MM_WIM_OPEN and starts the device thread.
  void Start(HWAVEIN handle);

  MMRESULT Prepare(WAVEHDR* header);
  MMRESULT Unprepare(WAVEHDR* header);
  MMRESULT AddBuffer(WAVEHDR* header);
  MMRESULT StartRecording();
  // Stops recording and hands back every queued buffer.
  MMRESULT Reset();
  // WAVERR_STILLPLAYING while buffers are queued; otherwise ends the device and posts
  // MM_WIM_CLOSE after every other message of this device.
  MMRESULT Close();

 private:
  void Run();
  // Moves what has been recorded into the queued buffers, handing back each one that fills.
  void Capture();
  void HandBackFront();
  void StopRecordingLocked();

  const DeviceWindow window_;
  const int64_t frameBytes_;
  WPARAM handle_ = 0;

  std::mutex mutex_;  // guards everything below; never held while the thread waits
  std::unique_ptr<PcmInput> stream_;
  HeaderQueue queue_;
  std::vector<uint8_t> discard_;  // takes what is recorded while no buffer is queued
  bool recording_ = false;
  bool closed_ = false;
  std::thread thread_;
};

}  // namespace morvex::wave
