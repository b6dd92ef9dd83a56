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
  // Nobody will paint for this window any more. A drawing call that found the slot just before
  // may still raise it: that costs one spurious repaint of the slot's next window.
  entry.state.store(kIdle, std::memory_order_release);
}

bool RepaintSlots::raise(HWND hwnd) {
  const int used = used_.load(std::memory_order_acquire);
  for (int i = 0; i < used; ++i) {
    Slot& slot = slots_[static_cast<size_t>(i)];
    if (slot.hwnd.load(std::memory_order_acquire) != hwnd) continue;
    // Most calls find the slot already raised or delivered: look before writing.
    int idle = kIdle;
    return slot.state.load(std::memory_order_relaxed) == kIdle &&
           slot.state.compare_exchange_strong(idle, kRaised, std::memory_order_acq_rel);
  }
  return false;
}

std::optional<int> RepaintSlots::takeRaised(int from) {
  const int used = used_.load(std::memory_order_acquire);
  for (int i = from; i < used; ++i) {
    int raised = kRaised;
    if (slots_[static_cast<size_t>(i)].state.compare_exchange_strong(raised, kDelivered, std::memory_order_acq_rel)) {
      return i;
    }
  }
  return std::nullopt;
}

void RepaintSlots::lower(int slot) {
  slots_[static_cast<size_t>(slot)].state.store(kIdle, std::memory_order_release);
}

}  // namespace morvex::display::qt
