// Windows that record every message they receive, on whichever display is installed.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/win32.h"

namespace morvex::testing {

struct Received {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

inline std::vector<Received> received;
inline bool refuseCreate = false;

// Leaves the middle button and the Menu key without default handling, so that no menu opens by itself.
inline LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  received.push_back({hwnd, msg, wParam, lParam});
  if (msg == WM_CREATE && refuseCreate) return -1;
  if (msg == WM_MBUTTONUP || (msg == WM_KEYDOWN && wParam == VK_APPS)) return 0;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A hidden recorded window with a white background and the program's icon.
inline HWND CreateRecorded(const char* title, int x, int y, int width, int height) {
  static const bool registered = [] {
    WNDCLASSA cls{};
    cls.lpfnWndProc = RecordingProc;
    cls.lpszClassName = "recorded";
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    cls.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(102));
    return RegisterClassA(&cls) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowExA(0, "recorded", title, WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr, nullptr, nullptr,
                         nullptr);
}

// Handles what is queued now, as the message loop does.
inline void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// The kinds of message `hwnd` received, in order; every kind when none is named.
inline std::vector<UINT> MessagesOf(HWND hwnd, std::initializer_list<UINT> kinds = {}) {
  std::vector<UINT> out;
  for (const Received& r : received) {
    if (r.hwnd == hwnd && (kinds.size() == 0 || std::find(kinds.begin(), kinds.end(), r.msg) != kinds.end())) {
      out.push_back(r.msg);
    }
  }
  return out;
}

inline const Received* Last(HWND hwnd, UINT msg) {
  const auto it = std::find_if(received.rbegin(), received.rend(),
                               [&](const Received& r) { return r.hwnd == hwnd && r.msg == msg; });
  return it == received.rend() ? nullptr : &*it;
}

}  // namespace morvex::testing
