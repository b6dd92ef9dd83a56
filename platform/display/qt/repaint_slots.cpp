#include "platform/display/qt/repaint_slots.h"

namespace morvex::display::qt {

std::optional<int> RepaintSlots::add(HWND hwnd) {
  const int used = used_.load(std::memory_order_relaxed);
  for (int i = 0; i < kCapacity; ++i) {
    Slot& slot = slots_[static_cast<size_t>(i)];
    if (slot.hwnd.load(std::memory_order_relaxed) != nullptr) continue;
    slot.hwnd.store(hwnd, std::memory_order_release);
    if (i >= used) used_.store(i + 1, std::memory_order_release);
    return i;
  }
  return std::nullopt;
}

void RepaintSlots::remove(int slot) {
  Slot& entry = slots_[static_cast<size_t>(slot)];
  entry.hwnd.store(nullptr, std::memory_order_release);
  // Nobody will paint for this window any more; a request raised now only costs one spurious
  // repaint of whichever window takes the slot next.
  entry.requested.store(false, std::memory_order_release);
}

std::optional<int> RepaintSlots::raise(HWND hwnd) {
  const int used = used_.load(std::memory_order_acquire);
  for (int i = 0; i < used; ++i) {
    Slot& slot = slots_[static_cast<size_t>(i)];
    if (slot.hwnd.load(std::memory_order_acquire) != hwnd) continue;
    if (slot.requested.exchange(true, std::memory_order_acq_rel)) return std::nullopt;
    return i;
  }
  return std::nullopt;
}

void RepaintSlots::lower(int slot) {
  slots_[static_cast<size_t>(slot)].requested.store(false, std::memory_order_release);
}

}  // namespace morvex::display::qt
