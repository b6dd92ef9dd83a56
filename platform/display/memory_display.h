// The display of a machine without one: windows exist with their surfaces and nobody sees them.
// Message boxes go only to standard error (the window layer writes them there in any case),
// the open-file dialog is cancelled, and popup menus choose nothing unless a test queued a choice.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>

#include "platform/display/display_backend.h"

namespace morvex::display {

class MemoryDisplay final : public DisplayBackend {
 public:
  void processEvents(std::optional<Clock::time_point> until) override;
  void wake() override;

  void windowCreated(HWND) override {}
  void windowDestroyed(HWND) override {}
  void windowChanged(HWND) override {}
  void surfaceChanged(HWND) override {}
  void setForeground(HWND) override {}

  int messageBox(const char* text, const char* caption, UINT type) override;
  bool openFileName(OPENFILENAMEA* ofn) override;
  UINT trackPopupMenu(HMENU menu, int x, int y, HWND owner) override;

  ScreenSize screenSize() override { return {1920, 1080}; }
  ScreenSize fullScreenClientSize() override { return {1920, 1017}; }

  // Tests: the next popup or system menu shown chooses this id (once per queued id).
  void queueMenuChoice(UINT id);

 private:
  std::mutex mutex_;
  std::condition_variable woken_;
  bool wakePending_ = false;
  std::deque<UINT> menuChoices_;
};

}  // namespace morvex::display
