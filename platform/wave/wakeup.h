// An event file descriptor that a poll() on a PCM's descriptors also watches, so that another
// thread can end the wait.
#pragma once

namespace morvex::wave {

class Wakeup {
 public:
  Wakeup();
  ~Wakeup();
  Wakeup(const Wakeup&) = delete;
  Wakeup& operator=(const Wakeup&) = delete;

  bool Valid() const { return fd_ >= 0; }
  int Fd() const { return fd_; }
  void Signal();
  void Clear();

 private:
  int fd_;
};

}  // namespace morvex::wave
