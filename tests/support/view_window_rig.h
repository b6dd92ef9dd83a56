// A stand-in main window for the view window tests, what the views post to it, and their marks.
#pragma once

#include <ostream>
#include <set>
#include <vector>

#include "platform/win32.h"

namespace test_support {

struct Posted {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Posted&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Posted& p) {
  return out << "{" << p.message << ", " << p.wParam << ", " << p.lParam << "}";
}

// A plain top-level window of a class registered once; nullptr if either step fails.
inline HWND CreateStandInMainWindow() {
  static const bool registered = [] {
    WNDCLASSA cls{};
    cls.lpfnWndProc = DefWindowProcA;
    cls.lpszClassName = "view test main";
    return RegisterClassA(&cls) != 0;
  }();
  if (!registered) return nullptr;
  return CreateWindowExA(0, "view test main", "main", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                         nullptr, nullptr);
}

// The messages waiting for `main`, taken off its queue.
inline std::vector<Posted> TakePosted(HWND main) {
  std::vector<Posted> posted;
  MSG msg;
  while (PeekMessageA(&msg, main, 0, 0, PM_REMOVE)) posted.push_back({msg.message, msg.wParam, msg.lParam});
  return posted;
}

// The command ids below 200 that `menu` shows checked.
inline std::set<UINT> CheckedItems(HMENU menu) {
  std::set<UINT> checked;
  for (UINT id = 1; id < 200; ++id) {
    if (const UINT state = GetMenuState(menu, id, MF_BYCOMMAND); state != ~0u && (state & MF_CHECKED)) {
      checked.insert(id);
    }
  }
  return checked;
}

}  // namespace test_support
