// One open wave-out device: the queue of written buffers and the device thread that feeds them
// to the stream back to back, counts the bytes heard, and hands each buffer back with
// MM_WOM_DONE once its last byte has been heard.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/wave/header_queue.h"
#include "platform/wave/open_params.h"
#include "platform/wave/pcm_backend.h"

namespace morvex::wave {

class OutputDevice {
 public:
  OutputDevice(const DeviceWindow& window, const PcmFormat& format,
               std::unique_ptr<PcmOutput> stream);
  ~OutputDevice();
  OutputDevice(const OutputDevice&) = delete;
  OutputDevice& operator=(const OutputDevice&) = delete;

  // Posts MM_WOM_OPEN and starts the device thread.
  void Start(HWAVEOUT handle);

  MMRESULT Prepare(WAVEHDR* header);
  MMRESULT Unprepare(WAVEHDR* header);
  MMRESULT Write(WAVEHDR* header);
  // Stops at once and hands back every queued buffer in write order.
  MMRESULT Reset();
  MMRESULT Pause();
  MMRESULT Restart();
  // WAVERR_STILLPLAYING while buffers are queued; otherwise ends the device and posts
  // MM_WOM_CLOSE after every other message of this device.
  MMRESULT Close();
  // Bytes heard since the device was opened.
  MMRESULT Position(int64_t* bytes);

 private:
  void Run();
  // Hands the stream what it takes of the queued bytes; true when some are left over because
  // the stream is full.
  bool Deliver();
  int64_t UpdatePosition();
  void HandBackHeard(int64_t position);
  void HandBackFront();
  std::chrono::microseconds TimeUntilFrontHeard(int64_t position) const;

  const DeviceWindow window_;
  const PcmFormat format_;
  const int64_t frameBytes_;
  WPARAM handle_ = 0;

  std::mutex mutex_;  // guards everything below; never held while the thread waits
  std::unique_ptr<PcmOutput> stream_;
  HeaderQueue queue_;
  // Counts in bytes of the device's stream since opening. Each queued header's reserved field
  // holds the stream offset where its playable part ends.
  int64_t delivered_ = 0;
  int64_t position_ = 0;
  bool paused_ = false;
  bool pausedInStream_ = false;
  bool closed_ = false;
  std::thread thread_;
};

}  // namespace morvex::wave
