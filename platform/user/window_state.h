// The window layer's own records: window classes, windows, the message queue and timers of the
// one user-interface thread. One mutex guards them all; window procedures are always called
// without it, so they may call back into the layer.
#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/gdi/surface.h"
#include "platform/win32/user.h"

namespace morvex::user {

using Clock = std::chrono::steady_clock;

// Frame of a top-level window around its client area, as a Windows desktop draws it.
constexpr int kFrameLeft = 8;
constexpr int kFrameTop = 31;
constexpr int kFrameRight = 8;
constexpr int kFrameBottom = 8;
// The smallest outer size of a top-level window: Windows' default minimum tracking size
// (SM_CXMINTRACK by SM_CYMINTRACK), a title bar with its buttons and the frame. No top-level window
// is created, moved or sized smaller, so a user can always see one and grab it to enlarge it.
constexpr int kMinTrackWidth = 136;
constexpr int kMinTrackHeight = 39;
// Where Windows parks a minimized window.
constexpr int kMinimizedPosition = -32000;

constexpr uint32_t kWhitePixel = 0xFFFFFFFFu;

struct WindowClass {
  std::string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  HBRUSH background = nullptr;
  HICON icon = nullptr;
};

enum class ShowState { Normal, Minimized, Maximized };

struct Window {
  HWND handle = nullptr;
  std::string className;
  UINT classStyle = 0;
  WNDPROC proc = nullptr;
  HBRUSH background = nullptr;
  HICON icon = nullptr;
  std::string text;
  DWORD style = 0;
  HWND parent = nullptr;
  // Outer rectangle: screen coordinates for top-level windows, parent client coordinates for
  // children.
  RECT rect{};
  RECT restoreRect{};
  int clientWidth = 0;
  int clientHeight = 0;
  bool visible = false;
  ShowState showState = ShowState::Normal;
  std::shared_ptr<gdi::Surface> surface;
  bool invalid = false;
  bool erasePending = false;
  RECT invalidRect{};
  HMENU systemMenu = nullptr;
  bool created = false;  // its creation handler has returned
  bool destroying = false;
};

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT period;
  Clock::time_point due;
  TIMERPROC proc;
};

struct UserState {
  std::mutex mutex;
  std::map<std::string, WindowClass> classes;  // keyed by lower-case name
  std::map<HWND, std::unique_ptr<Window>> windows;
  std::vector<HWND> creationOrder;
  uintptr_t nextHandle = 0x10010;
  std::deque<MSG> posted;
  bool quitPosted = false;
  int quitCode = 0;
  std::vector<Timer> timers;
  UINT_PTR nextThreadTimerId = 0x7FF0;
  DWORD uiThreadId = 0;
};

UserState& State();

// With State().mutex held: the window, or null for a handle that names none.
Window* FindWindowLocked(HWND hwnd);
std::string LowerCase(const char* text);
// Client size for an outer size (frame removed for top-level windows, never negative).
void UpdateClientSize(Window& window);
DWORD MessageTime();

}  // namespace morvex::user
