#include "platform/gdi/raster.h"

#include <algorithm>
#include <cstddef>

namespace morvex::gdi {

Box ClipToSurface(const Surface& surface, Box box) {
  box.left = std::max<int64_t>(box.left, 0);
  box.top = std::max<int64_t>(box.top, 0);
  box.right = std::min<int64_t>(box.right, surface.width());
  box.bottom = std::min<int64_t>(box.bottom, surface.height());
  return box;
}

void FillBox(Surface& surface, Box box, uint32_t pixel) {
  box = ClipToSurface(surface, box);
  if (box.left >= box.right || box.top >= box.bottom) return;
  const int64_t width = surface.width();
  for (int64_t y = box.top; y < box.bottom; ++y) {
    uint32_t* row = surface.pixels() + static_cast<ptrdiff_t>(y * width);
    std::fill(row + box.left, row + box.right, pixel);
  }
}

void PlotPixel(Surface& surface, int64_t x, int64_t y, uint32_t pixel) {
  const int64_t width = surface.width();
  if (x < 0 || y < 0 || x >= width || y >= surface.height()) return;
  surface.pixels()[static_cast<ptrdiff_t>(y * width + x)] = pixel;
}

}  // namespace morvex::gdi
