// Qt display tests: a Qt display on Qt's offscreen platform for each test, recorded windows on it.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <vector>

#include "platform/display/memory_display.h"
#include "platform/display/qt/desktop_probe.h"
#include "platform/display/qt/qt_display.h"
#include "tests/platform/recording_window.h"

namespace morvex::display::qt::testing {

using namespace morvex::testing;

class QtDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PlatformPluginInstalled("offscreen")) GTEST_SKIP() << "Qt's offscreen platform is not installed";
    display = new QtDisplay(Desktop{"offscreen", {}});
    InstallBackend(display);
    display->processEvents(Clock::now());  // the first call on this thread starts Qt
    messages.clear();
  }

  void TearDown() override {
    if (!display) return;
    for (HWND hwnd : windows) {
      if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {}
    InstallBackend(new MemoryDisplay);
  }

  HWND Create(const char* title, int x, int y, int width, int height) {
    HWND hwnd = CreateRecorded(title, x, y, width, height);
    windows.push_back(hwnd);
    ShowWindow(hwnd, SW_SHOW);
    return hwnd;
  }

  QtDisplay* display = nullptr;
  std::vector<HWND> windows;
  std::vector<Received>& messages = received;
};

}  // namespace morvex::display::qt::testing
