// Timers of the user-interface thread: WM_TIMER is generated, never queued, so a timer that is
// killed never fires afterwards and a due timer yields one message however late it is.
#pragma once

#include <optional>

#include "platform/user/window_state.h"

namespace morvex::user {

// With the state mutex held: the earliest due timer that passes the filter, as WM_TIMER in
// `msg`; when `reschedule`, its next tick is scheduled (the message is taken).
bool TakeDueTimerLocked(HWND filter, Clock::time_point now, MSG* msg, bool reschedule);
// With the state mutex held: when the next timer falls due, if any.
std::optional<Clock::time_point> NextTimerDueLocked();

}  // namespace morvex::user
