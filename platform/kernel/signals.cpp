#include "platform/kernel/signals.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include "platform/user/window_info.h"

namespace morvex::kernel {
namespace {

sigset_t CloseSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

void* WatchSignals(void*) {
  const sigset_t set = CloseSignals();
  bool closeRequested = false;
  for (;;) {
    int signal = 0;
    if (sigwait(&set, &signal) != 0) continue;
    if (closeRequested || !user::RequestMainWindowClose()) _exit(128 + signal);
    closeRequested = true;
  }
  return nullptr;
}

}  // namespace

void CloseMainWindowOnSignals() {
  const sigset_t set = CloseSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  pthread_t watcher;
  if (pthread_create(&watcher, nullptr, WatchSignals, nullptr) == 0) pthread_detach(watcher);
}

}  // namespace morvex::kernel
