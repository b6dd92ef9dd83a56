// The display of a desktop, through Qt Widgets: a widget per top-level window showing its client
// surface, the "edit" control as a text view, real popup menus, message boxes and the
// open-file dialog. Qt starts on the user-interface thread at the first call made there.
#pragma once

#include <QPointer>
#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <vector>

#include "platform/display/display_backend.h"
#include "platform/display/qt/desktop_probe.h"
#include "platform/display/qt/doorbell.h"
#include "platform/display/qt/repaint_slots.h"

class QEventLoop;
class QObject;
class QPlainTextEdit;
class QTimer;
class QWidget;

namespace morvex::display::qt {

class SurfaceWidget;

class QtDisplay final : public DisplayBackend {
 public:
  // Qt starts with the desktop's platform plugin list (see StartApplication); the probe's
  // connections are let go once Qt has its own.
  explicit QtDisplay(Desktop desktop);
  ~QtDisplay() override;

  void processEvents(std::optional<Clock::time_point> until) override;
  void wake() override;

  void windowCreated(HWND hwnd) override;
  void windowDestroyed(HWND hwnd) override;
  void windowChanged(HWND hwnd) override;
  void surfaceChanged(HWND hwnd) override;
  void setForeground(HWND hwnd) override;

  int messageBox(const char* text, const char* caption, UINT type) override;
  bool openFileName(OPENFILENAMEA* ofn) override;
  UINT trackPopupMenu(HMENU menu, int x, int y, HWND owner) override;

  ScreenSize screenSize() override;
  ScreenSize fullScreenClientSize() override;

  // The widget that shows a window (a top-level window or an edit control); null for none.
  QWidget* widgetOf(HWND hwnd) const;

 private:
  friend class ActivationWatcher;

  // User-interface thread: starts Qt and this display's watchers on first use.
  void start();
  // User-interface thread: another thread rang: repaint raised windows, end a wait on a wake
  // or, inside a modal loop, dispatch what was posted.
  void answerDoorbell();
  // Runs `show` (a menu, message box or dialog that holds its own event loop; the Qt objects it
  // makes are gone when it returns) while the program's messages keep being dispatched.
  template <typename Show>
  auto runModal(Show show);
  // Asks every window to repaint what changed since the last time (see
  // SurfaceWidget::updateChanged); whether anything did.
  bool updateChangedWindows(bool lowerSlots);
  // Every repaint interval while windows change.
  void repaintTick();
  // One round of dispatching inside the innermost modal loop, and when the next one is due.
  void runModalRound();
  void scheduleModalRound(Clock::time_point due);
  void applicationStateChanged(bool active);
  void readScreen();

  Desktop desktop_;
  std::atomic<bool> wakePending_{false};
  RepaintSlots slots_;
  Doorbell doorbell_;
  std::unique_ptr<QObject> activationWatcher_;  // null until Qt runs
  std::map<HWND, std::unique_ptr<SurfaceWidget>> windows_;
  std::array<SurfaceWidget*, RepaintSlots::kCapacity> windowInSlot_{};
  std::map<HWND, QPointer<QPlainTextEdit>> edits_;
  QEventLoop* waiting_ = nullptr;
  // Open modal loops, whether the innermost event loop is one of them (not a wait for
  // messages), and the timer of their next round (null until Qt runs).
  int modalDepth_ = 0;
  bool modalInnermost_ = false;
  std::unique_ptr<QTimer> modalRound_;
  std::unique_ptr<QTimer> repaintTick_;  // null until Qt runs
  // Widgets of windows destroyed while a modal loop ran: an open menu or dialog may be their
  // child, so they go when the outermost loop has returned.
  std::vector<std::unique_ptr<SurfaceWidget>> retired_;
  bool active_ = false;
  // The screen as last read on the user-interface thread, for calls from other threads.
  std::atomic<int> screenWidth_{0}, screenHeight_{0}, fullWidth_{0}, fullHeight_{0};
};

}  // namespace morvex::display::qt
