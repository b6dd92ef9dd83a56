// The message queue of the user-interface thread. Retrieval order, as Windows has it: posted
// messages (input included) in posting order, then the quit message, then WM_PAINT for a window
// with an invalid region, then WM_TIMER for a due timer.
#include "platform/display/display_backend.h"
#include "platform/user/keyboard.h"
#include "platform/user/modal_loop.h"
#include "platform/user/painting.h"
#include "platform/user/timers.h"
#include "platform/user/window_geometry.h"
#include "platform/user/window_state.h"
#include "platform/win32.h"

using namespace morvex::user;

namespace {

bool PassesFilter(const MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (hwnd && msg.hwnd != hwnd) return false;
  if (filterMin == 0 && filterMax == 0) return true;
  return msg.message >= filterMin && msg.message <= filterMax;
}

bool RangeIncludes(UINT message, UINT filterMin, UINT filterMax) {
  return (filterMin == 0 && filterMax == 0) || (message >= filterMin && message <= filterMax);
}

// With the state mutex held: takes (or only looks at) the next message in retrieval order.
bool NextMessageLocked(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
  auto& posted = State().posted;
  for (auto it = posted.begin(); it != posted.end(); ++it) {
    if (!PassesFilter(*it, hwnd, filterMin, filterMax)) continue;
    *msg = *it;
    if (remove) posted.erase(it);
    return true;
  }
  if (State().quitPosted && RangeIncludes(WM_QUIT, filterMin, filterMax)) {
    *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(State().quitCode), 0, MessageTime(), {}};
    if (remove) State().quitPosted = false;
    return true;
  }
  if (RangeIncludes(WM_PAINT, filterMin, filterMax)) {
    if (HWND dirty = WindowNeedingPaintLocked(hwnd)) {
      *msg = MSG{dirty, WM_PAINT, 0, 0, MessageTime(), {}};
      return true;
    }
  }
  if (RangeIncludes(WM_TIMER, filterMin, filterMax)) {
    return TakeDueTimerLocked(hwnd, Clock::now(), msg, remove);
  }
  return false;
}

bool NextMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
  std::lock_guard lock(State().mutex);
  return NextMessageLocked(msg, hwnd, filterMin, filterMax, remove);
}

bool IsUiThread() {
  std::lock_guard lock(State().mutex);
  return State().uiThreadId == 0 || State().uiThreadId == GetCurrentThreadId();
}

// Messages one modal round dispatches before it lets the modal loop look at its input again.
constexpr int kMessagesPerModalRound = 64;

}  // namespace

namespace morvex::user {

ModalRound DispatchForModalLoop() {
  for (int taken = 0; taken < kMessagesPerModalRound; ++taken) {
    MSG msg;
    {
      std::lock_guard lock(State().mutex);
      if (!NextMessageLocked(&msg, nullptr, 0, 0, false)) return {false, NextTimerDueLocked()};
      if (msg.message == WM_QUIT) return {true, std::nullopt};
      NextMessageLocked(&msg, nullptr, 0, 0, true);
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return {false, Clock::now()};
}

}  // namespace morvex::user

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  {
    std::lock_guard lock(State().mutex);
    if (hwnd && !FindWindowLocked(hwnd)) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    State().posted.push_back(MSG{hwnd, msg, wParam, lParam, MessageTime(), {}});
  }
  morvex::display::Backend().wake();
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  {
    std::lock_guard lock(State().mutex);
    State().quitPosted = true;
    State().quitCode = exitCode;
  }
  morvex::display::Backend().wake();
}

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Window procedures run only on the user-interface thread; a send from another thread is
  // delivered there in posting order instead of blocking the sender.
  if (!IsUiThread()) {
    PostMessageA(hwnd, msg, wParam, lParam);
    return 0;
  }
  return CallWindow(hwnd, msg, wParam, lParam);
}

BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) return -1;
  auto& backend = morvex::display::Backend();
  // Input that arrived while messages were handled is queued before anything is taken.
  backend.processEvents(morvex::display::Clock::now());
  for (;;) {
    if (NextMessage(msg, hwnd, filterMin, filterMax, true)) return msg->message != WM_QUIT;
    std::optional<Clock::time_point> until;
    {
      std::lock_guard lock(State().mutex);
      until = NextTimerDueLocked();
    }
    backend.processEvents(until);
  }
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
  if (!msg) return FALSE;
  morvex::display::Backend().processEvents(morvex::display::Clock::now());
  return NextMessage(msg, hwnd, filterMin, filterMax, (removeMsg & PM_REMOVE) != 0);
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  const uint32_t character = TranslatedCharacter(msg->lParam);
  if (character == 0) return FALSE;
  PostMessageA(msg->hwnd, msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, character,
               KeyDataWithoutCharacter(msg->lParam));
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg || !msg->hwnd) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, MessageTime());
    return 0;
  }
  return CallWindow(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}
