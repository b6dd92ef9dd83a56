#include "platform/gdi/surface.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace morvex::gdi {

namespace {

size_t PixelCount(int width, int height) { return static_cast<size_t>(width) * static_cast<size_t>(height); }

size_t BandCount(int height, int64_t rowsPerBand) { return static_cast<size_t>((height + rowsPerBand - 1) / rowsPerBand); }

std::atomic<uint64_t> surfacesMade{0};

}  // namespace

Surface::Surface(int width, int height, uint32_t fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(PixelCount(std::max(width, 0), std::max(height, 0)), fill),
      bands_(BandCount(std::max(height, 0), kRowsPerBand)),
      serial_(surfacesMade.fetch_add(1, std::memory_order_relaxed) + 1) {}

void Surface::markChanged(const Box& box) {
  if (IsEmpty(box)) return;
  dirty_.add(box);
  ++changeCount_;
  for (auto band = bands_.begin() + box.top / kRowsPerBand, end = bands_.begin() + (box.bottom - 1) / kRowsPerBand + 1;
       band != end; ++band) {
    markBand(*band, box.left, box.right);
  }
}

void Surface::markRowChanged(int64_t y, int64_t left, int64_t right) {
  ++changeCount_;
  markBand(bands_[static_cast<size_t>(y / kRowsPerBand)], left, right);
}

void Surface::markBand(Band& band, int64_t left, int64_t right) {
  band.changedAt = changeCount_;
  if (band.current.from < copiedAt_) {
    // The band's first change since the last copy: nothing changed it between that copy and now.
    band.previous = band.current;
    band.current = {copiedAt_, left, right};
  } else if (band.current.left >= band.current.right) {
    band.current.left = left;
    band.current.right = right;
  } else {
    band.current.left = std::min(band.current.left, left);
    band.current.right = std::max(band.current.right, right);
  }
}

std::pair<int64_t, int64_t> Surface::changedColumns(int64_t y, uint64_t since) const {
  const Band& band = bands_[static_cast<size_t>(y / kRowsPerBand)];
  if (band.changedAt <= since) return {0, 0};
  if (band.current.from <= since) return {band.current.left, band.current.right};
  if (band.previous.from <= since) {
    const Box both = Union({band.previous.left, 0, band.previous.right, 1}, {band.current.left, 0, band.current.right, 1});
    return {both.left, both.right};
  }
  return {0, width()};
}

void Surface::resize(int width, int height, uint32_t fill) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  {
    std::lock_guard lock(mutex_);
    const int oldWidth = width_.load(std::memory_order_relaxed);
    const int oldHeight = height_.load(std::memory_order_relaxed);
    if (width == oldWidth && height == oldHeight) return;
    std::vector<uint32_t> resized(PixelCount(width, height), fill);
    const int keepWidth = std::min(width, oldWidth);
    const int keepHeight = std::min(height, oldHeight);
    for (int y = 0; y < keepHeight; ++y) {
      const uint32_t* from = pixels_.data() + PixelCount(oldWidth, y);
      std::copy(from, from + keepWidth, resized.data() + PixelCount(width, y));
    }
    pixels_ = std::move(resized);
    bands_.resize(BandCount(height, kRowsPerBand));
    width_.store(width, std::memory_order_relaxed);
    height_.store(height, std::memory_order_relaxed);
    dirty_.clear();
    markChanged({0, 0, width, height});
  }
  notifyChanged();
}

void Surface::setChangeListener(std::function<void()> listener) {
  std::lock_guard lock(listenerMutex_);
  listener_ = std::move(listener);
  listening_.store(static_cast<bool>(listener_), std::memory_order_release);
}

void Surface::notifyChanged() {
  if (!listening_.load(std::memory_order_acquire)) return;
  std::lock_guard lock(listenerMutex_);
  if (listener_) listener_();
}

}  // namespace morvex::gdi
