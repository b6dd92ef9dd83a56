// What a display runs while a menu, message box or dialog holds its own event loop: the
// program's messages keep reaching the window procedures, as in Windows' modal loops, so
// nothing stops because a user holds a menu open.
#pragma once

#include <optional>

#include "platform/user/window_state.h"

namespace morvex::user {

struct ModalRound {
  // A quit message waits: every modal loop should end and leave it to the message loop.
  bool quit = false;
  // When the next round is due: now when messages were left for it, else when the next timer
  // falls due (never, when none runs) or something is posted.
  std::optional<Clock::time_point> next;
};

// User-interface thread: dispatches queued messages, repaints and due timers, at most a
// bounded number per round so that the modal loop's own input is never starved.
ModalRound DispatchForModalLoop();

}  // namespace morvex::user
