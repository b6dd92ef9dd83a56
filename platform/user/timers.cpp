#include "platform/user/timers.h"

#include "platform/display/display_backend.h"
#include "platform/win32.h"

namespace morvex::user {
namespace {
// Windows raises shorter periods to this value.
constexpr UINT kMinimumPeriod = 10;
}  // namespace

bool TakeDueTimerLocked(HWND filter, Clock::time_point now, MSG* msg, bool reschedule) {
  Timer* earliest = nullptr;
  for (Timer& timer : State().timers) {
    if (filter && timer.hwnd != filter) continue;
    if (timer.due <= now && (!earliest || timer.due < earliest->due)) earliest = &timer;
  }
  if (!earliest) return false;
  *msg = MSG{earliest->hwnd, WM_TIMER, earliest->id, reinterpret_cast<LPARAM>(earliest->proc), MessageTime(), {}};
  if (reschedule) earliest->due = now + std::chrono::milliseconds(earliest->period);
  return true;
}

std::optional<Clock::time_point> NextTimerDueLocked() {
  std::optional<Clock::time_point> next;
  for (const Timer& timer : State().timers) {
    if (!next || timer.due < *next) next = timer.due;
  }
  return next;
}

}  // namespace morvex::user

using namespace morvex::user;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC timerFunc) {
  const UINT period = elapseMs < kMinimumPeriod ? kMinimumPeriod : elapseMs;
  {
    std::lock_guard lock(State().mutex);
    if (hwnd && !FindWindowLocked(hwnd)) return 0;
    if (!hwnd) id = ++State().nextThreadTimerId;
    const auto due = Clock::now() + std::chrono::milliseconds(period);
    bool replaced = false;
    for (Timer& timer : State().timers) {
      if (timer.hwnd == hwnd && timer.id == id) {
        timer.period = period;
        timer.due = due;
        timer.proc = timerFunc;
        replaced = true;
      }
    }
    if (!replaced) State().timers.push_back(Timer{hwnd, id, period, due, timerFunc});
  }
  morvex::display::Backend().wake();
  return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  std::lock_guard lock(State().mutex);
  const auto removed = std::erase_if(State().timers, [&](const Timer& timer) { return timer.hwnd == hwnd && timer.id == id; });
  return removed ? TRUE : FALSE;
}
