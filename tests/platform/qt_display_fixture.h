// The Qt display tests: Qt's offscreen platform, a Qt display installed for each test (the
// in-memory one put back afterwards), and a window class that records what its windows receive.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>
#include <vector>

#include "platform/display/memory_display.h"
#include "platform/display/qt/desktop_probe.h"
#include "platform/display/qt/qt_display.h"
#include "platform/win32.h"

namespace morvex::display::qt::testing {

struct Received {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

inline std::vector<Received>* received = nullptr;

// Records every message. Keeps its windows alive on SC_CLOSE and leaves the middle button
// without default handling, so that no menu opens by itself.
inline LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (received) received->push_back({hwnd, msg, wParam, lParam});
  if ((msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) || msg == WM_MBUTTONUP) return 0;
  if (msg == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(hwnd, &paint);
    EndPaint(hwnd, &paint);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class QtDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PlatformPluginInstalled("offscreen")) GTEST_SKIP() << "Qt's offscreen platform is not installed";
    display = new QtDisplay(Desktop{"offscreen", {}});
    InstallBackend(display);
    display->processEvents(Clock::now());  // the first call on this thread starts Qt
    static const bool registered = [] {
      WNDCLASSA cls{};
      cls.lpfnWndProc = RecordingProc;
      cls.lpszClassName = "qtrecorded";
      cls.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(102));
      return RegisterClassA(&cls) != 0;
    }();
    ASSERT_TRUE(registered);
    received = &messages;
  }

  void TearDown() override {
    if (!display) return;
    for (HWND hwnd : windows) {
      if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {}
    received = nullptr;
    InstallBackend(new MemoryDisplay);
  }

  HWND Create(const char* title, int x, int y, int width, int height) {
    HWND hwnd = CreateWindowExA(0, "qtrecorded", title, WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr, nullptr,
                                nullptr, nullptr);
    windows.push_back(hwnd);
    ShowWindow(hwnd, SW_SHOW);
    return hwnd;
  }

  // Handles what is queued now, as the message loop does.
  void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  std::vector<UINT> MessagesOf(HWND hwnd, std::initializer_list<UINT> kinds) const {
    std::vector<UINT> out;
    for (const Received& r : messages) {
      if (r.hwnd == hwnd && std::find(kinds.begin(), kinds.end(), r.msg) != kinds.end()) out.push_back(r.msg);
    }
    return out;
  }

  const Received* Last(HWND hwnd, UINT msg) const {
    const auto it = std::find_if(messages.rbegin(), messages.rend(),
                                 [&](const Received& r) { return r.hwnd == hwnd && r.msg == msg; });
    return it == messages.rend() ? nullptr : &*it;
  }

  QtDisplay* display = nullptr;
  std::vector<HWND> windows;
  std::vector<Received> messages;
};

}  // namespace morvex::display::qt::testing
