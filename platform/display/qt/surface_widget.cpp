#include "platform/display/qt/surface_widget.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>

#include "platform/display/present_observer.h"
#include "platform/display/qt/key_codes.h"
#include "platform/gdi/surface.h"
#include "platform/user/window_state.h"
#include "platform/win32.h"
#include "resources/icons.h"

namespace morvex::display::qt {
namespace {

// The key-state bits of mouse messages.
constexpr WPARAM kMkLButton = 0x0001;
constexpr WPARAM kMkRButton = 0x0002;
constexpr WPARAM kMkShift = 0x0004;
constexpr WPARAM kMkControl = 0x0008;
constexpr WPARAM kMkMButton = 0x0010;

constexpr Qt::WindowStates kShowStates = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

WPARAM MouseKeys(const QMouseEvent& event) {
  WPARAM keys = 0;
  if (event.buttons() & Qt::LeftButton) keys |= kMkLButton;
  if (event.buttons() & Qt::RightButton) keys |= kMkRButton;
  if (event.buttons() & Qt::MiddleButton) keys |= kMkMButton;
  if (event.modifiers() & Qt::ShiftModifier) keys |= kMkShift;
  if (event.modifiers() & Qt::ControlModifier) keys |= kMkControl;
  return keys;
}

// The button message for a press (pressed) or release; 0 for buttons Windows has none for here.
UINT ButtonMessage(Qt::MouseButton button, bool pressed) {
  switch (button) {
    case Qt::LeftButton: return pressed ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case Qt::RightButton: return pressed ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case Qt::MiddleButton: return pressed ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default: return 0;
  }
}

QRect ClientRect(const user::WindowInfo& info) {
  // Qt cannot show a window of no width or height; such a window shows one pixel.
  return QRect(info.rect.left + user::kFrameLeft, info.rect.top + user::kFrameTop, std::max(info.clientWidth, 1),
               std::max(info.clientHeight, 1));
}

QIcon IconOf(int resource) {
  const uint32_t* pixels = resources::IconPixels(resource);
  if (!pixels) return QIcon();
  const QImage image(reinterpret_cast<const uchar*>(pixels), resources::kIconSize, resources::kIconSize,
                     resources::kIconSize * 4, QImage::Format_RGB32);
  return QIcon(QPixmap::fromImage(image));
}

}  // namespace

SurfaceWidget::SurfaceWidget(HWND hwnd, std::shared_ptr<gdi::Surface> surface, RepaintSlots& repaintSlots)
    : QWidget(nullptr, Qt::Window), hwnd_(hwnd), surface_(std::move(surface)), slots_(repaintSlots), slot_(repaintSlots.add(hwnd)) {
  // Every pixel comes from the surface: Qt need not clear the background first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  // The desktop is told the window layer's minimum, so a drag of the frame stops there.
  setMinimumSize(user::kMinTrackWidth - user::kFrameLeft - user::kFrameRight,
                 std::max(user::kMinTrackHeight - user::kFrameTop - user::kFrameBottom, 0));
}

SurfaceWidget::~SurfaceWidget() {
  if (slot_) slots_.remove(*slot_);
}

void SurfaceWidget::apply(const user::WindowInfo& info) {
  const QString title = QString::fromUtf8(info.text);
  if (windowTitle() != title) setWindowTitle(title);
  if (info.iconResource != iconResource_) {
    iconResource_ = info.iconResource;
    setWindowIcon(IconOf(info.iconResource));
  }
  applying_ = true;
  if (!info.visible) {
    hide();
  } else {
    const Qt::WindowStates wanted = info.minimized   ? Qt::WindowMinimized
                                    : info.maximized ? Qt::WindowMaximized
                                                     : Qt::WindowNoState;
    requestedState_ = wanted;
    const bool stateChanges = (windowState() & kShowStates) != wanted;
    // Restore before placing, place before maximizing: the desktop keeps the normal geometry.
    if (stateChanges && wanted == Qt::WindowNoState) setShowState(wanted);
    // A minimized window has no place; a maximized one is where the desktop put it.
    if (!info.minimized && !(info.maximized && isMaximized())) placeClientArea(ClientRect(info));
    if (stateChanges && wanted != Qt::WindowNoState) setShowState(wanted);
    if (!isVisible()) show();
  }
  applying_ = false;
}

void SurfaceWidget::placeClientArea(const QRect& rect) {
  if (geometry() != rect) setGeometry(rect);
}

void SurfaceWidget::setShowState(Qt::WindowStates state) {
  setWindowState((windowState() & ~kShowStates) | state);
}

bool SurfaceWidget::updateChanged(bool lowerSlot) {
  gdi::DirtyRegion changed;
  {
    std::lock_guard lock(surface_->mutex());
    // Drawing from now on asks again; what was drawn before is taken here.
    if (lowerSlot && slot_) slots_.lower(*slot_);
    changed = surface_->dirty();
    surface_->dirty().clear();
  }
  for (const gdi::Box& box : changed) {
    update(static_cast<int>(box.left), static_cast<int>(box.top), static_cast<int>(box.right - box.left),
           static_cast<int>(box.bottom - box.top));
  }
  return !changed.empty();
}

void SurfaceWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  QRegion uncovered(event->region());
  {
    // Every drawing call holds the surface's mutex, so the picture is never half a call.
    std::lock_guard lock(surface_->mutex());
    const int width = surface_->width();
    const int height = surface_->height();
    if (width > 0 && height > 0) {
      // The surface's opaque 0xFFRRGGBB pixels are premultiplied ARGB as they stand, the format
      // Qt keeps windows' backing stores in: copied as the source, they move as plain memory, with
      // no conversion (which Qt would spread over its thread pool) and no blending.
      const QImage image(reinterpret_cast<const uchar*>(surface_->pixels()), width, height, width * 4,
                         QImage::Format_ARGB32_Premultiplied);
      painter.setCompositionMode(QPainter::CompositionMode_Source);
      // Only the asked-for rectangles: a region's bounding rectangle may be most of the window.
      for (const QRect& rect : event->region()) {
        const QRect area = rect & image.rect();
        if (!area.isEmpty()) painter.drawImage(area.topLeft(), image, area);
      }
      uncovered -= image.rect();
      if (const PresentObserver observer = CurrentPresentObserver()) {
        std::array<RECT, 16> copied{};
        int count = 0;
        for (const QRect& rect : event->region()) {
          if (count == static_cast<int>(copied.size())) break;
          copied[static_cast<size_t>(count++)] = {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
        }
        if (count == static_cast<int>(copied.size())) {
          const QRect all = event->region().boundingRect();
          copied[0] = {all.left(), all.top(), all.right() + 1, all.bottom() + 1};
          count = 1;
        }
        observer(hwnd_, surface_->pixels(), width, height, copied.data(), count);
      }
    }
  }
  // Beyond the surface (only while a resize is on its way to the window layer) the window's
  // white background shows.
  for (const QRect& rect : uncovered) painter.fillRect(rect, Qt::white);
}

void SurfaceWidget::keyPressEvent(QKeyEvent* event) {
  const UINT virtualKey = VirtualKeyOf(event->key(), event->modifiers());
  const uint32_t character = CharacterOf(event->text());
  if (virtualKey == 0 && character == 0) {
    QWidget::keyPressEvent(event);
    return;
  }
  user::PostKeyDown(hwnd_, virtualKey, character);
}

void SurfaceWidget::postMouse(QMouseEvent* event, UINT message) {
  const QPointF position = event->position();
  const int x = static_cast<int>(std::floor(position.x()));
  const int y = static_cast<int>(std::floor(position.y()));
  // A window sees the mouse only inside its client area (Qt also reports a dragging mouse
  // outside it).
  if (message == 0 || !rect().contains(x, y)) return;
  user::PostMouse(hwnd_, message, x, y, MouseKeys(*event));
}

void SurfaceWidget::mousePressEvent(QMouseEvent* event) { postMouse(event, ButtonMessage(event->button(), true)); }

void SurfaceWidget::mouseReleaseEvent(QMouseEvent* event) {
  postMouse(event, ButtonMessage(event->button(), false));
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* event) { postMouse(event, WM_MOUSEMOVE); }

void SurfaceWidget::focusOutEvent(QFocusEvent* event) {
  // A popup menu takes the keyboard without taking the focus from the window, as on Windows.
  if (event->reason() != Qt::PopupFocusReason) user::FocusLost(hwnd_);
  QWidget::focusOutEvent(event);
}

void SurfaceWidget::closeEvent(QCloseEvent* event) {
  // The window layer decides: the close button becomes SC_CLOSE, unless its item is grey.
  event->ignore();
  user::PressCloseButton(hwnd_);
}

void SurfaceWidget::moveEvent(QMoveEvent*) { desktopPlaced(); }

void SurfaceWidget::resizeEvent(QResizeEvent*) { desktopPlaced(); }

void SurfaceWidget::desktopPlaced() {
  if (applying_ || !isVisible() || isMinimized()) return;
  const auto info = user::DescribeWindow(hwnd_);
  if (!info || info->minimized) return;
  QRect placed = geometry();
  // A Wayland desktop tells a client nothing of where its windows are (Qt says 0, 0): the place
  // stays the program's own, only the size is the desktop's.
  if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
    placed.moveTopLeft(ClientRect(*info).topLeft());
  }
  if (placed == ClientRect(*info)) return;
  user::ClientAreaPlaced(hwnd_, placed.x(), placed.y(), placed.width(), placed.height());
}

void SurfaceWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || applying_) return;
  const Qt::WindowStates state = windowState() & kShowStates;
  if (state == requestedState_) return;
  // The desktop minimized, maximized or restored the window: as the title-bar buttons do on
  // Windows, that is a system command, which the window's default handling carries out.
  requestedState_ = state;
  const WPARAM command = (state & Qt::WindowMinimized)                                 ? SC_MINIMIZE
                         : (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) ? SC_MAXIMIZE
                                                                                   : SC_RESTORE;
  PostMessageA(hwnd_, WM_SYSCOMMAND, command, 0);
}

}  // namespace morvex::display::qt
