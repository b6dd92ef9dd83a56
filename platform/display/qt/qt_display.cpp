#include "platform/display/qt/qt_display.h"

#include <QApplication>
#include <QApplicationStateChangeEvent>
#include <QDialog>
#include <QEventLoop>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <utility>

#include "platform/display/qt/application.h"
#include "platform/display/qt/dialogs.h"
#include "platform/display/qt/edit_control.h"
#include "platform/display/qt/menu_builder.h"
#include "platform/display/qt/menu_keys.h"
#include "platform/display/qt/surface_widget.h"
#include "platform/user/modal_loop.h"
#include "platform/user/window_info.h"
#include "platform/user/window_state.h"

namespace morvex::display::qt {
namespace {

using namespace std::chrono_literals;

// Drawing threads redraw many times a second; the screen need not follow faster than this.
constexpr auto kRepaintInterval = 16ms;

// A quit message ends every open menu, message box and dialog, as on Windows; each modal loop
// then returns to its caller and the quit reaches the message loop.
void CloseModals() {
  for (QWidget* previous = nullptr; QWidget* popup = QApplication::activePopupWidget(); previous = popup) {
    if (popup == previous) break;
    popup->close();
  }
  for (QWidget* previous = nullptr; QWidget* modal = QApplication::activeModalWidget(); previous = modal) {
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (!dialog || dialog == previous) break;
    dialog->reject();
  }
}

}  // namespace

// Tells the display when the application becomes active or inactive.
class ActivationWatcher final : public QObject {
 public:
  explicit ActivationWatcher(QtDisplay& display) : display_(display) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == qApp && event->type() == QEvent::ApplicationStateChange) {
      const auto state = static_cast<QApplicationStateChangeEvent*>(event)->applicationState();
      display_.applicationStateChanged(state == Qt::ApplicationActive);
    }
    return false;
  }

 private:
  QtDisplay& display_;
};

QtDisplay::QtDisplay(Desktop desktop) : desktop_(std::move(desktop)) {}

QtDisplay::~QtDisplay() { windows_.clear(); }  // their edit controls go with them

void QtDisplay::start() {
  if (activationWatcher_) return;
  StartApplication(desktop_.platform);
  desktop_.connections.clear();
  activationWatcher_ = std::make_unique<ActivationWatcher>(*this);
  active_ = QGuiApplication::applicationState() == Qt::ApplicationActive;
  qApp->installEventFilter(activationWatcher_.get());
  doorbell_.watch([this] { answerDoorbell(); });
  modalRound_ = std::make_unique<QTimer>();
  modalRound_->setSingleShot(true);
  modalRound_->setTimerType(Qt::PreciseTimer);
  QObject::connect(modalRound_.get(), &QTimer::timeout, [this] { runModalRound(); });
  repaintTick_ = std::make_unique<QTimer>();
  repaintTick_->setTimerType(Qt::PreciseTimer);
  repaintTick_->setInterval(kRepaintInterval);
  QObject::connect(repaintTick_.get(), &QTimer::timeout, [this] { repaintTick(); });
  readScreen();
}

void QtDisplay::processEvents(std::optional<Clock::time_point> until) {
  start();
  QEventLoop* const enclosing = waiting_;
  // Called from a window procedure inside a modal loop, this call is the innermost loop: it, not
  // the modal loop, takes what is posted meanwhile.
  const bool insideModal = std::exchange(modalInnermost_, false);
  const auto now = Clock::now();
  if (wakePending_.exchange(false, std::memory_order_acq_rel) || (until && *until <= now)) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  } else {
    QEventLoop loop;
    QTimer deadline;
    if (until) {
      const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*until - now).count();
      deadline.setSingleShot(true);
      deadline.setTimerType(Qt::PreciseTimer);
      QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
      deadline.start(static_cast<int>(std::min<int64_t>(wait, std::numeric_limits<int>::max())));
    }
    // A wake from now on rings the doorbell, which ends the loop; one before was seen above.
    waiting_ = &loop;
    loop.exec();
    waiting_ = enclosing;
    wakePending_.store(false, std::memory_order_release);
  }
  // Called from inside another wait, this call may have taken that wait's wake: end it too
  // (an early return only costs its caller one more look at the queue).
  if (enclosing) enclosing->quit();
  modalInnermost_ = insideModal;
  if (insideModal) scheduleModalRound(Clock::now());
}

void QtDisplay::wake() {
  // One ring per burst of wakes: only the call that raises the flag rings.
  if (!wakePending_.exchange(true, std::memory_order_acq_rel)) doorbell_.ring();
}

void QtDisplay::answerDoorbell() {
  bool raised = false;
  for (auto slot = slots_.takeRaised(0); slot; slot = slots_.takeRaised(*slot + 1)) {
    if (windowInSlot_[static_cast<size_t>(*slot)]) {
      raised = true;
    } else {
      slots_.lower(*slot);  // raised for a window that has gone since
    }
  }
  // The first change after a quiet spell shows at once; later ones wait for the tick.
  if (raised && !repaintTick_->isActive()) {
    updateChangedWindows(false);
    repaintTick_->start();
  }
  if (modalInnermost_) {
    runModalRound();
  } else if (waiting_ && wakePending_.load(std::memory_order_acquire)) {
    waiting_->quit();
  }
}

bool QtDisplay::updateChangedWindows(bool lowerSlots) {
  bool changed = false;
  for (const auto& [hwnd, window] : windows_) changed |= window->updateChanged(lowerSlots);
  return changed;
}

void QtDisplay::repaintTick() {
  // While windows change, their slots stay delivered: drawing calls need not ring, the tick
  // collects what they changed. After a whole quiet interval the tick stops and the next
  // drawing call rings again.
  if (updateChangedWindows(false)) return;
  repaintTick_->stop();
  updateChangedWindows(true);
}

template <typename Show>
auto QtDisplay::runModal(Show show) {
  start();
  ++modalDepth_;
  const bool enclosingModal = std::exchange(modalInnermost_, true);
  scheduleModalRound(Clock::now());
  const auto result = show();
  modalInnermost_ = enclosingModal;
  if (--modalDepth_ == 0) {
    modalRound_->stop();
    retired_.clear();
  } else if (modalInnermost_) {
    scheduleModalRound(Clock::now());
  }
  // A wait that opened this loop looks at the queue again.
  wake();
  return result;
}

void QtDisplay::runModalRound() {
  if (!modalInnermost_) return;
  // Posts from now on ring again; what was posted before is dispatched below.
  wakePending_.store(false, std::memory_order_release);
  const user::ModalRound round = user::DispatchForModalLoop();
  if (round.quit) {
    CloseModals();
  } else if (round.next) {
    scheduleModalRound(*round.next);
  } else {
    modalRound_->stop();
  }
}

void QtDisplay::scheduleModalRound(Clock::time_point due) {
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - Clock::now()).count();
  modalRound_->start(static_cast<int>(std::clamp<int64_t>(wait, 0, std::numeric_limits<int>::max())));
}

void QtDisplay::windowCreated(HWND hwnd) {
  start();
  const auto info = user::DescribeWindow(hwnd);
  if (!info) return;
  if (info->parent) {
    // The program's only child windows are edit controls.
    QWidget* parent = widgetOf(info->parent);
    if (!parent || !IsEditControl(*info)) return;
    QPlainTextEdit* edit = CreateEditControl(parent);
    edits_[hwnd] = edit;
    ApplyEditControl(*edit, *info);
    return;
  }
  auto widget = std::make_unique<SurfaceWidget>(hwnd, info->surface, slots_);
  if (const auto slot = widget->slot()) windowInSlot_[static_cast<size_t>(*slot)] = widget.get();
  widget->apply(*info);
  windows_[hwnd] = std::move(widget);
}

void QtDisplay::windowDestroyed(HWND hwnd) {
  if (auto window = windows_.find(hwnd); window != windows_.end()) {
    if (const auto slot = window->second->slot()) windowInSlot_[static_cast<size_t>(*slot)] = nullptr;
    if (modalDepth_ > 0) {
      window->second->hide();
      retired_.push_back(std::move(window->second));
    }
    windows_.erase(window);
  }
  if (auto edit = edits_.find(hwnd); edit != edits_.end()) {
    delete edit->second.data();
    edits_.erase(edit);
  }
}

void QtDisplay::windowChanged(HWND hwnd) {
  const auto info = user::DescribeWindow(hwnd);
  if (!info) return;
  if (auto window = windows_.find(hwnd); window != windows_.end()) {
    window->second->apply(*info);
  } else if (auto edit = edits_.find(hwnd); edit != edits_.end() && edit->second) {
    ApplyEditControl(*edit->second, *info);
  }
}

void QtDisplay::surfaceChanged(HWND hwnd) {
  if (slots_.raise(hwnd)) doorbell_.ring();
}

void QtDisplay::setForeground(HWND hwnd) {
  if (QWidget* widget = widgetOf(hwnd)) {
    widget->raise();
    widget->activateWindow();
  }
}

int QtDisplay::messageBox(const char* text, const char* caption, UINT type) {
  return runModal([&] { return ShowMessageBox(text, caption, type); });
}

bool QtDisplay::openFileName(OPENFILENAMEA* ofn) {
  return runModal([&] { return ShowOpenFileDialog(*ofn, widgetOf(ofn->hwndOwner)); });
}

UINT QtDisplay::trackPopupMenu(HMENU menu, int x, int y, HWND owner) {
  return runModal([&] {
    QMenu popup(widgetOf(owner));
    BuildMenu(popup, menu);
    MenuKeyForwarder keys(owner);
    ForwardMenuKeys(popup, keys);
    return popup.isEmpty() ? 0u : ChosenId(popup.exec(QPoint(x, y)));
  });
}

void QtDisplay::applicationStateChanged(bool active) {
  if (active == active_) return;
  active_ = active;
  user::ApplicationActivated(active);
}

void QtDisplay::readScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect whole = screen ? screen->geometry() : QRect();
  const QRect available = screen ? screen->availableGeometry() : QRect();
  screenWidth_.store(whole.width(), std::memory_order_relaxed);
  screenHeight_.store(whole.height(), std::memory_order_relaxed);
  // A maximized window's client area: the screen without the desktop's panels and without the
  // window's own caption, whose height is the top frame the window layer counts with.
  fullWidth_.store(available.width(), std::memory_order_relaxed);
  fullHeight_.store(std::max(available.height() - user::kFrameTop, 0), std::memory_order_relaxed);
}

ScreenSize QtDisplay::screenSize() {
  // The first call starts Qt; every first call of this program comes from the user-interface
  // thread. Other threads read the size last seen there.
  if (!QCoreApplication::instance() || OnApplicationThread()) {
    start();
    readScreen();
  }
  return {screenWidth_.load(std::memory_order_relaxed), screenHeight_.load(std::memory_order_relaxed)};
}

ScreenSize QtDisplay::fullScreenClientSize() {
  screenSize();
  return {fullWidth_.load(std::memory_order_relaxed), fullHeight_.load(std::memory_order_relaxed)};
}

QWidget* QtDisplay::widgetOf(HWND hwnd) const {
  if (auto window = windows_.find(hwnd); window != windows_.end()) return window->second.get();
  if (auto edit = edits_.find(hwnd); edit != edits_.end()) return edit->second.data();
  return nullptr;
}

}  // namespace morvex::display::qt
