// A 32-bit pixel surface: a window's client area or a memory bitmap. Pixels are stored as
// 0xFFRRGGBB, row by row, so a display backend can show them without conversion. Every drawing
// call on a surface holds its mutex for the duration of that one call, so calls from several
// threads never interleave within a call.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <utility>
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
  // Only with mutex() held: as markChanged for the columns [left, right) of row y, without adding
  // them to dirty(); a block copy adds the box of all the rows it changed once at its end.
  void markRowChanged(int64_t y, int64_t left, int64_t right);
  // Only with mutex() held: the change count so far.
  uint64_t changeCount() const { return changeCount_; }
  // Only with mutex() held: the columns [left, right) of row y that may have changed after the
  // change count `since` (all of them when the band no longer knows), empty when none did. Rows
  // are kept in bands, so a line across many rows costs few stamps.
  // Exact enough for a copy repeated since its last time: a curve redrawn over a grid changes a
  // few columns of most rows.
  std::pair<int64_t, int64_t> changedColumns(int64_t y, uint64_t since) const;
  // Only with mutex() held: a block copy read or wrote this surface just now. Each band keeps
  // the columns changed since the copy before last and since the last one, so that the next
  // repetition of either copy finds what changed since its own previous time.
  void markCopied() { copiedAt_ = changeCount_; }
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
  // Columns [left, right) holding every change of a band after count `from`.
  struct Span {
    uint64_t from = 0;
    int64_t left = 0;
    int64_t right = 0;
  };
  // `current` holds the changes after `current.from`, `previous` those from `previous.from` up
  // to `current.from`.
  struct Band {
    uint64_t changedAt = 0;
    Span current;
    Span previous;
  };
  void markBand(Band& band, int64_t left, int64_t right);
  std::vector<Band> bands_;
  uint64_t copiedAt_ = 0;
  const uint64_t serial_;
  LastCopy lastCopy_;
  std::mutex listenerMutex_;
  std::function<void()> listener_;
  std::atomic<bool> listening_ = false;  // whether listener_ is set: memory bitmaps have none
};

}  // namespace morvex::gdi
