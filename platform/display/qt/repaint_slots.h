// Coalesces repaint requests from drawing threads. Each window has a slot whose state goes
// idle -> raised (a drawing call changed the surface; the user-interface thread must be told)
// -> delivered (the window will repaint) -> idle (the window painted). Only the drawing call
// that raises the slot tells the user-interface thread, so a burst of drawing calls costs one
// request. Drawing threads find a window's slot without locking.
#pragma once

#include <array>
#include <atomic>
#include <optional>

#include "platform/win32/types.h"

namespace morvex::display::qt {

class RepaintSlots {
 public:
  static constexpr int kCapacity = 256;

  // User-interface thread. The slot of a new window; empty when all slots are taken (the
  // window is then repainted only when the desktop exposes it).
  std::optional<int> add(HWND hwnd);
  // User-interface thread: the window is gone; its slot may be reused.
  void remove(int slot);

  // Any thread: a drawing call changed the window's surface. True when this call raised the
  // slot and must tell the user-interface thread.
  bool raise(HWND hwnd);
  // User-interface thread: the first raised slot from `from` on, now marked delivered.
  std::optional<int> takeRaised(int from);
  // User-interface thread: the window is about to read its surface; later drawing calls
  // request again.
  void lower(int slot);

 private:
  enum State : int { kIdle, kRaised, kDelivered };
  struct Slot {
    std::atomic<HWND> hwnd{nullptr};
    std::atomic<int> state{kIdle};
  };
  std::array<Slot, kCapacity> slots_;
  std::atomic<int> used_{0};  // slots at or above this index have never been taken
};

}  // namespace morvex::display::qt
