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

namespace {

// Whether all `count` pixels of `row` hold `pixel`; blocks of 16 without early exit, so that the
// compiler compares them in vector registers.
bool AllAre(const uint32_t* row, int64_t count, uint32_t pixel) {
  constexpr int64_t kBlock = 16;
  int64_t x = 0;
  for (; x + kBlock <= count; x += kBlock) {
    uint32_t differ = 0;
    for (int64_t k = 0; k < kBlock; ++k) differ |= row[x + k] ^ pixel;
    if (differ != 0) return false;
  }
  for (; x < count; ++x) {
    if (row[x] != pixel) return false;
  }
  return true;
}

}  // namespace

Box FillChangedPixels(Surface& surface, Box box, uint32_t pixel) {
  box = ClipToSurface(surface, box);
  Box changed{0, 0, 0, 0};
  if (box.left >= box.right || box.top >= box.bottom) return changed;
  const int64_t width = surface.width();
  for (int64_t y = box.top; y < box.bottom; ++y) {
    uint32_t* row = surface.pixels() + static_cast<ptrdiff_t>(y * width);
    if (AllAre(row + box.left, box.right - box.left, pixel)) continue;
    int64_t first = box.left;
    while (row[first] == pixel) ++first;
    int64_t end = box.right;
    while (row[end - 1] == pixel) --end;
    std::fill(row + first, row + end, pixel);
    surface.markRowChanged(y, first, end);
    changed = Union(changed, {first, y, end, y + 1});
  }
  return changed;
}

void PlotPixel(Surface& surface, int64_t x, int64_t y, uint32_t pixel) {
  const int64_t width = surface.width();
  if (x < 0 || y < 0 || x >= width || y >= surface.height()) return;
  surface.pixels()[static_cast<ptrdiff_t>(y * width + x)] = pixel;
}

}  // namespace morvex::gdi
