#include "platform/wave/wakeup.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace morvex::wave {

Wakeup::Wakeup() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

Wakeup::~Wakeup() {
  if (fd_ >= 0) close(fd_);
}

void Wakeup::Signal() {
  uint64_t one = 1;
  // A full counter already wakes the waiter; nothing is lost when the write fails.
  [[maybe_unused]] ssize_t written = write(fd_, &one, sizeof(one));
}

void Wakeup::Clear() {
  uint64_t count;
  [[maybe_unused]] ssize_t got = read(fd_, &count, sizeof(count));
}

}  // namespace morvex::wave
