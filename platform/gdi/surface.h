// A 32-bit pixel surface: a window's client area or a memory bitmap. Pixels are stored as
// 0xFFRRGGBB, row by row, so a display backend can show them without conversion. Every drawing
// call on a surface holds its mutex for the duration of that one call, so calls from several
// threads never interleave within a call.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/gdi/dirty_region.h"

namespace morvex::gdi {

class Surface {
 public:
  Surface(int width, int height, uint32_t fill);

  // Readable without the mutex; they match pixels() only while it is held.
  int width() const { return width_.load(std::memory_order_relaxed); }
  int height() const { return height_.load(std::memory_order_relaxed); }

  // Changes the size; the overlapping pixels keep their values, new ones take `fill`.
  // A size below zero counts as zero. Takes the mutex itself and notifies the listener.
  void resize(int width, int height, uint32_t fill);

  // Held by every drawing call for its whole duration.
  std::mutex& mutex() const { return mutex_; }
  // Only with mutex() held.
  uint32_t* pixels() { return pixels_.data(); }
  const uint32_t* pixels() const { return pixels_.data(); }
  // Only with mutex() held: what drawing calls changed since the display last took it.
  DirtyRegion& dirty() { return dirty_; }
  // Only with mutex() held: a drawing call changed the pixels inside `box` (within the surface).
  // Adds it to dirty() and stamps its rows with a new change count.
  void markChanged(const Box& box);
  // Only with mutex() held: the change count so far, and the count at row y's last change (or
  // a later one: rows are stamped in bands, so a line across many rows costs few stamps).
  uint64_t changeCount() const { return changeCount_; }
  uint64_t rowChangedAt(int64_t y) const { return bandChangedAt_[static_cast<size_t>(y / kRowsPerBand)]; }
  // Identifies this surface for the lifetime of the process (unlike its address).
  uint64_t serial() const { return serial_; }

  // The last block copy into this surface (only with mutex() held): a copy of the same
  // rectangle from the same source need only look at rows either side changed since.
  struct LastCopy {
    uint64_t sourceSerial = 0;  // 0: none
    Box box{};
    int64_t offsetX = 0;
    int64_t offsetY = 0;
    uint64_t sourceCount = 0;
    uint64_t destCount = 0;
  };
  LastCopy& lastCopy() { return lastCopy_; }

  // Called (outside the mutex, on the drawing thread) after a drawing call changed pixels;
  // the display uses it to show the new picture. Must be cheap: it runs after every call, and
  // must not set a listener itself.
  void setChangeListener(std::function<void()> listener);
  void notifyChanged();

 private:
  mutable std::mutex mutex_;
  std::atomic<int> width_ = 0;
  std::atomic<int> height_ = 0;
  std::vector<uint32_t> pixels_;
  DirtyRegion dirty_;
  uint64_t changeCount_ = 0;
  static constexpr int64_t kRowsPerBand = 8;
  std::vector<uint64_t> bandChangedAt_;
  const uint64_t serial_;
  LastCopy lastCopy_;
  std::mutex listenerMutex_;
  std::function<void()> listener_;
  std::atomic<bool> listening_ = false;  // whether listener_ is set: memory bitmaps have none
};

}  // namespace morvex::gdi
