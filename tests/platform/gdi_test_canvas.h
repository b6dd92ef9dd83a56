// A window-like surface with a context on it, for the drawing tests.
#pragma once

#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "platform/gdi/surface.h"
#include "platform/gdi/window_dc.h"
#include "platform/win32/gdi.h"

namespace morvex::gdi::test {

using Points = std::set<std::pair<int, int>>;

inline constexpr uint32_t kWhite = 0xFFFFFFFFu;
inline constexpr uint32_t kBlack = 0xFF000000u;

class Canvas {
 public:
  Canvas(int width, int height, uint32_t fill = kWhite)
      : surface_(std::make_shared<Surface>(width, height, fill)), dc_(CreateSurfaceDC(surface_)) {}
  ~Canvas() { DeleteDC(dc_); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC dc() const { return dc_; }
  Surface& surface() const { return *surface_; }
  int width() const { return surface_->width(); }
  int height() const { return surface_->height(); }
  uint32_t at(int x, int y) const {
    std::lock_guard lock(surface_->mutex());
    return surface_->pixels()[y * surface_->width() + x];
  }
  void set(int x, int y, uint32_t pixel) {
    std::lock_guard lock(surface_->mutex());
    surface_->pixels()[y * surface_->width() + x] = pixel;
    surface_->markChanged({x, y, x + 1, y + 1});
  }
  std::vector<uint32_t> snapshot() const {
    std::lock_guard lock(surface_->mutex());
    return {surface_->pixels(), surface_->pixels() + surface_->width() * surface_->height()};
  }
  Points pointsOf(uint32_t pixel) const {
    Points points;
    const std::vector<uint32_t> pixels = snapshot();
    for (size_t i = 0; i < pixels.size(); ++i) {
      if (pixels[i] == pixel) points.emplace(static_cast<int>(i) % width(), static_cast<int>(i) / width());
    }
    return points;
  }

 private:
  std::shared_ptr<Surface> surface_;
  HDC dc_;
};

}  // namespace morvex::gdi::test
