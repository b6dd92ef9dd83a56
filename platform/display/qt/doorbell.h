// How other threads get the user-interface thread's attention: an event counter (eventfd) that
// any thread rings and the user-interface thread's event loop watches. Ringing allocates
// nothing and never blocks; rings before the loop watches are kept.
#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace morvex::display::qt {

class Doorbell {
 public:
  Doorbell();
  ~Doorbell();
  Doorbell(const Doorbell&) = delete;
  Doorbell& operator=(const Doorbell&) = delete;

  // Any thread.
  void ring();
  // User-interface thread, once Qt runs: `answer` is called whenever the bell has rung.
  void watch(std::function<void()> answer);

 private:
  int fd_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace morvex::display::qt
