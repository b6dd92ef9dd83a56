// The state behind an HDC and the locking every drawing call goes through. A context's mutex
// guards its state (selected objects, colours, current position); a drawing call takes it and
// then its surface's mutex, and holds both for the whole call, so that calls through one context
// or on one surface from several threads never interleave. Locks are always taken contexts
// first, then surfaces, each pair in address order, so two-context calls cannot deadlock.
#pragma once

#include <memory>
#include <mutex>
#include <utility>

#include "platform/gdi/dirty_region.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/surface.h"
#include "platform/win32/gdi.h"

namespace morvex::gdi {

struct Dc {
  std::mutex mutex;
  bool memory = false;  // a memory context, which draws into its selected bitmap
  std::shared_ptr<Surface> surface;
  std::shared_ptr<Bitmap> bitmap;  // memory contexts only
  std::shared_ptr<Pen> pen = DefaultPen();
  std::shared_ptr<Brush> brush = DefaultBrush();
  std::shared_ptr<Font> font = DefaultFont();
  COLORREF textColor = 0x000000;
  COLORREF backgroundColor = 0xFFFFFF;
  POINT position{0, 0};
};

inline Dc* DcFromHandle(HDC hdc) { return reinterpret_cast<Dc*>(hdc); }

using LockPair = std::pair<std::unique_lock<std::mutex>, std::unique_lock<std::mutex>>;

// Locks both mutexes in address order; the same mutex twice is locked once.
LockPair LockInOrder(std::mutex& first, std::mutex& second);

// One drawing call through one context: holds the context's state and its surface's pixels, and
// on leaving releases the pixels, tells the surface's listener if the call changed them, then
// releases the context (whose reference keeps the surface alive meanwhile).
class DrawCall {
 public:
  explicit DrawCall(Dc& dc);
  ~DrawCall();
  DrawCall(const DrawCall&) = delete;
  DrawCall& operator=(const DrawCall&) = delete;

  // Null when the context has no surface; otherwise pixels() may be used until the call ends.
  Surface* surface() const { return surface_; }
  // The call changed pixels inside `box` (clipped to the surface here).
  void markChanged(const Box& box);
  // The call changed pixels inside `box` (within the surface) whose rows it has stamped itself
  // (Surface::markRowChanged).
  void markStamped(const Box& box);

 private:
  std::unique_lock<std::mutex> dcLock_;
  Surface* surface_;
  std::unique_lock<std::mutex> surfaceLock_;
  bool changed_ = false;
};

}  // namespace morvex::gdi
