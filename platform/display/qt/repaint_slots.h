// Coalesces repaint requests from drawing threads: each window has a slot with a "repaint
// requested" flag. Only the call that raises the flag asks the user-interface thread to
// repaint; the flag drops when the window paints, so a burst of drawing calls costs one
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

  // Any thread: raises the window's flag; returns its slot when the caller raised it and must
  // send the request, empty when a request is already on its way or the window has no slot.
  std::optional<int> raise(HWND hwnd);
  // User-interface thread: the window is about to read its surface; later drawing calls
  // request again.
  void lower(int slot);

 private:
  struct Slot {
    std::atomic<HWND> hwnd{nullptr};
    std::atomic<bool> requested{false};
  };
  std::array<Slot, kCapacity> slots_;
  std::atomic<int> used_{0};  // slots at or above this index have never been taken
};

}  // namespace morvex::display::qt
