// The widget of one top-level window: shows the window's client surface and turns the user's
// input and the desktop's moves, resizes and state changes into the window layer's messages.
// Its geometry is the window's client area; the desktop draws the frame.
#pragma once

#include <QWidget>
#include <memory>
#include <optional>

#include "platform/display/qt/repaint_slots.h"
#include "platform/user/window_info.h"

namespace morvex::display::qt {

class SurfaceWidget final : public QWidget {
 public:
  SurfaceWidget(HWND hwnd, std::shared_ptr<gdi::Surface> surface, RepaintSlots& repaintSlots);
  ~SurfaceWidget() override;

  HWND hwnd() const { return hwnd_; }
  std::optional<int> slot() const { return slot_; }

  // Shows the window as the window layer describes it: title, icon, visibility, show state and
  // client-area geometry.
  void apply(const user::WindowInfo& info);
  // Asks Qt to repaint what drawing calls changed since the last call; false when nothing
  // changed. With `lowerSlot`, drawing calls from now on request a repaint again.
  bool updateChanged(bool lowerSlot);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Tab is a key like any other for the window, not a focus move.
  bool focusNextPrevChild(bool) override { return false; }

 private:
  void postMouse(QMouseEvent* event, UINT downOrUp);
  void placeClientArea(const QRect& rect);
  void setShowState(Qt::WindowStates state);
  void desktopPlaced();

  HWND hwnd_;
  std::shared_ptr<gdi::Surface> surface_;
  RepaintSlots& slots_;
  std::optional<int> slot_;
  int iconResource_ = -1;
  // The show state the window layer asked for; a different one comes from the desktop.
  Qt::WindowStates requestedState_ = Qt::WindowNoState;
  // Set while the widget follows the window layer, whose own changes are not reported back.
  bool applying_ = false;
};

}  // namespace morvex::display::qt
