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
  std::mutex listenerMutex_;
  std::function<void()> listener_;
};

}  // namespace morvex::gdi
