#include "platform/display/qt/doorbell.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace morvex::display::qt {

Doorbell::Doorbell() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  if (fd_ < 0) {
    // Without it no other thread could wake the user-interface thread.
    std::perror("morvex: eventfd");
    std::abort();
  }
}

Doorbell::~Doorbell() {
  notifier_.reset();
  close(fd_);
}

void Doorbell::ring() {
  const uint64_t one = 1;
  // Fails only when the counter is at its maximum, and then the bell is ringing anyway.
  [[maybe_unused]] const ssize_t written = write(fd_, &one, sizeof one);
}

void Doorbell::watch(std::function<void()> answer) {
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this, answer = std::move(answer)] {
    uint64_t rings = 0;
    [[maybe_unused]] const ssize_t read = ::read(fd_, &rings, sizeof rings);
    answer();
  });
}

}  // namespace morvex::display::qt
