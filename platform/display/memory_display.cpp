#include "platform/display/memory_display.h"

namespace morvex::display {

void MemoryDisplay::processEvents(std::optional<Clock::time_point> until) {
  std::unique_lock lock(mutex_);
  if (until) {
    woken_.wait_until(lock, *until, [this] { return wakePending_; });
  } else {
    woken_.wait(lock, [this] { return wakePending_; });
  }
  wakePending_ = false;
}

void MemoryDisplay::wake() {
  {
    std::lock_guard lock(mutex_);
    wakePending_ = true;
  }
  woken_.notify_one();
}

int MemoryDisplay::messageBox(const char*, const char*, UINT type) {
  return (type & 0xF) == MB_OKCANCEL ? IDCANCEL : IDOK;
}

bool MemoryDisplay::openFileName(OPENFILENAMEA*) { return false; }

UINT MemoryDisplay::trackPopupMenu(HMENU, int, int, HWND) {
  std::lock_guard lock(mutex_);
  if (menuChoices_.empty()) return 0;
  const UINT id = menuChoices_.front();
  menuChoices_.pop_front();
  return id;
}

void MemoryDisplay::queueMenuChoice(UINT id) {
  std::lock_guard lock(mutex_);
  menuChoices_.push_back(id);
}

}  // namespace morvex::display
