// The in-memory display with an input channel: a test hands it input (key presses, clicks,
// window placements by the desktop) that it delivers on the user-interface thread in its next
// event round, as a real display delivers what a user does. A menu stays open as long as the
// test holds it, with the program's messages flowing meanwhile, and then chooses what the test
// asked for.
#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <future>
#include <mutex>

#include "platform/display/memory_display.h"
#include "platform/user/modal_loop.h"

namespace drive_test {

class ScriptedDisplay final : public morvex::display::DisplayBackend {
 public:
  // Any thread but the user-interface thread: runs `input` there and returns its result.
  template <typename Input>
  auto OnUi(Input input) -> decltype(input()) {
    std::packaged_task<decltype(input())()> task(std::move(input));
    auto result = task.get_future();
    {
      std::lock_guard lock(mutex_);
      inputs_.push_back([&task] { task(); });
    }
    memory_.wake();
    return result.get();
  }

  // User-interface thread: the next menu shown chooses `id` (0: nothing); when `held`, it
  // stays open until ReleaseMenu().
  void NextMenu(UINT id, bool held = false) {
    memory_.queueMenuChoice(id);
    held_ = held;
  }
  // Any thread.
  void ReleaseMenu() {
    held_ = false;
    memory_.wake();
  }
  // Whether a menu is open now, and how many have been closed.
  bool MenuShown() const { return menuShown_; }
  int MenusClosed() const { return menusClosed_; }

  void processEvents(std::optional<morvex::display::Clock::time_point> until) override {
    if (RunInputs()) return;
    memory_.processEvents(until);
    RunInputs();
  }
  void wake() override { memory_.wake(); }

  void windowCreated(HWND) override {}
  void windowDestroyed(HWND) override {}
  void windowChanged(HWND) override {}
  void surfaceChanged(HWND) override {}
  void setForeground(HWND) override {}

  int messageBox(const char* text, const char* caption, UINT type) override {
    return memory_.messageBox(text, caption, type);
  }
  bool openFileName(OPENFILENAMEA* ofn) override { return memory_.openFileName(ofn); }
  UINT trackPopupMenu(HMENU menu, int x, int y, HWND owner) override {
    menuShown_ = true;
    while (held_) {
      const morvex::user::ModalRound round = morvex::user::DispatchForModalLoop();
      if (round.quit) break;
      processEvents(round.next);
    }
    menuShown_ = false;
    ++menusClosed_;
    return memory_.trackPopupMenu(menu, x, y, owner);
  }
  morvex::display::ScreenSize screenSize() override { return memory_.screenSize(); }
  morvex::display::ScreenSize fullScreenClientSize() override { return memory_.fullScreenClientSize(); }

 private:
  bool RunInputs() {
    std::deque<std::function<void()>> inputs;
    {
      std::lock_guard lock(mutex_);
      inputs.swap(inputs_);
    }
    for (auto& input : inputs) input();
    return !inputs.empty();
  }

  morvex::display::MemoryDisplay memory_;
  std::mutex mutex_;
  std::deque<std::function<void()>> inputs_;
  std::atomic<bool> held_{false};
  std::atomic<bool> menuShown_{false};
  std::atomic<int> menusClosed_{0};
};

}  // namespace drive_test
