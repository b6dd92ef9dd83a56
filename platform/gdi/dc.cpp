#include "platform/gdi/dc.h"

#include <functional>

#include "platform/gdi/raster.h"
#include "platform/gdi/window_dc.h"

namespace morvex::gdi {

LockPair LockInOrder(std::mutex& first, std::mutex& second) {
  if (&first == &second) return {std::unique_lock(first), std::unique_lock<std::mutex>()};
  if (std::less<std::mutex*>()(&second, &first)) {
    std::unique_lock secondLock(second);
    std::unique_lock firstLock(first);
    return {std::move(firstLock), std::move(secondLock)};
  }
  std::unique_lock firstLock(first);
  std::unique_lock secondLock(second);
  return {std::move(firstLock), std::move(secondLock)};
}

DrawCall::DrawCall(Dc& dc) : dcLock_(dc.mutex), surface_(dc.surface.get()) {
  if (surface_) surfaceLock_ = std::unique_lock(surface_->mutex());
}

void DrawCall::markChanged(const Box& box) {
  const Box clipped = ClipToSurface(*surface_, box);
  if (IsEmpty(clipped)) return;
  surface_->markChanged(clipped);
  changed_ = true;
}

void DrawCall::markStamped(const Box& box) {
  if (IsEmpty(box)) return;
  surface_->dirty().add(box);
  changed_ = true;
}

DrawCall::~DrawCall() {
  if (surfaceLock_.owns_lock()) surfaceLock_.unlock();
  if (changed_) surface_->notifyChanged();
}

HDC CreateSurfaceDC(std::shared_ptr<Surface> surface) {
  auto* dc = new Dc;
  dc->surface = std::move(surface);
  return reinterpret_cast<HDC>(dc);
}

}  // namespace morvex::gdi

using morvex::gdi::Dc;
using morvex::gdi::DcFromHandle;

HDC CreateCompatibleDC(HDC) {
  auto* dc = new Dc;
  dc->memory = true;
  dc->bitmap = morvex::gdi::DefaultBitmap();
  dc->surface = dc->bitmap->surface;
  return reinterpret_cast<HDC>(dc);
}

BOOL DeleteDC(HDC hdc) {
  if (!hdc) return FALSE;
  delete DcFromHandle(hdc);
  return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ handle) {
  using namespace morvex::gdi;
  const std::shared_ptr<GdiObject> object = LookupObject(handle);
  if (!hdc || !object) return nullptr;
  Dc& dc = *DcFromHandle(hdc);
  std::lock_guard lock(dc.mutex);
  std::shared_ptr<GdiObject> previous;
  switch (object->kind) {
    case ObjectKind::Pen: previous = std::exchange(dc.pen, std::static_pointer_cast<Pen>(object)); break;
    case ObjectKind::Brush:
      previous = std::exchange(dc.brush, std::static_pointer_cast<Brush>(object));
      break;
    case ObjectKind::Font: previous = std::exchange(dc.font, std::static_pointer_cast<Font>(object)); break;
    case ObjectKind::Bitmap:
      // Only a memory context draws into a bitmap; a window context keeps its window.
      if (!dc.memory) return nullptr;
      previous = std::exchange(dc.bitmap, std::static_pointer_cast<Bitmap>(object));
      dc.surface = dc.bitmap->surface;
      break;
  }
  return HandleOf(previous.get());
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  if (!hdc) return CLR_INVALID;
  Dc& dc = *DcFromHandle(hdc);
  std::lock_guard lock(dc.mutex);
  return std::exchange(dc.textColor, color);
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
  if (!hdc) return CLR_INVALID;
  Dc& dc = *DcFromHandle(hdc);
  std::lock_guard lock(dc.mutex);
  return std::exchange(dc.backgroundColor, color);
}
