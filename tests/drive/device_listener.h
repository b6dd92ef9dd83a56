// The far end of ALSA's default device, as a test hears it: a private .asoundrc routes the
// device into a FIFO through the `file` plugin, and a thread reads the FIFO at a sound card's
// pace. The `null` device behind the plugin has no clock, so without that pace the program
// would play its whole file at once; with it, the device's writes wait for the listener, and
// commands land while the sound plays.
//
// Each opening of the device starts its stream with a WAV header. A new opening may write
// before the listener has read the end of the last one, so the streams are told apart by
// their headers, not by the FIFO's ends.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace drive_test {

class DeviceListener {
 public:
  // Writes `home`/.asoundrc; programs run with HOME=`home` play into this listener.
  DeviceListener(const std::string& home, int bytesPerSecond)
      : fifo_(home + "/device.fifo"), bytesPerSecond_(bytesPerSecond) {
    mkfifo(fifo_.c_str(), 0600);
    std::ofstream(home + "/.asoundrc") << "pcm.!default {\n  type file\n  slave.pcm \"null\"\n  file \"" << fifo_
                                       << "\"\n  format \"wav\"\n}\n";
    thread_ = std::thread([this] { Listen(); });
  }

  ~DeviceListener() {
    stopping_ = true;
    // A listener waiting for the next opening is let go by one that closes at once.
    const int unblock = open(fifo_.c_str(), O_WRONLY | O_NONBLOCK);
    if (unblock >= 0) close(unblock);
    thread_.join();
  }

  // The streams so far, each from its header on; the last one possibly still arriving.
  std::vector<std::string> Streams() {
    std::lock_guard lock(mutex_);
    std::vector<std::string> streams;
    for (size_t at = flow_.find(kHeaderStart); at != std::string::npos;) {
      const size_t next = flow_.find(kHeaderStart, at + 1);
      streams.push_back(flow_.substr(at, next - at));
      at = next;
    }
    return streams;
  }
  // Whether the device is open, or was closed with sound left in the FIFO.
  bool Hearing() const { return hearing_; }

 private:
  void Listen() {
    char chunk[4096];
    while (!stopping_) {
      const int fd = open(fifo_.c_str(), O_RDONLY);
      if (fd < 0) return;
      hearing_ = true;
      for (ssize_t n; (n = read(fd, chunk, sizeof chunk)) > 0;) {
        {
          std::lock_guard lock(mutex_);
          flow_.append(chunk, static_cast<size_t>(n));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(1000000LL * n / bytesPerSecond_));
      }
      hearing_ = false;
      close(fd);
    }
  }

  // What the plugin writes first in every stream: RIFF, a size that stays 36 on a FIFO, WAVE,
  // the fmt chunk's id and size.
  static constexpr std::string_view kHeaderStart{"RIFF$\0\0\0WAVEfmt \x10\0\0\0", 20};

  const std::string fifo_;
  const int bytesPerSecond_;
  std::atomic<bool> stopping_{false};
  std::mutex mutex_;
  std::atomic<bool> hearing_{false};
  std::string flow_;
  std::thread thread_;
};

}  // namespace drive_test
