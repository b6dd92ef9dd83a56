// Pixel writes on a surface whose mutex the caller holds, clipped to the surface. Coordinates are
// 64-bit so that arithmetic on any 32-bit input (a pen's reach, a rectangle's far edge) cannot
// overflow before it is clipped.
#pragma once

#include <cstdint>

#include "platform/gdi/surface.h"

namespace morvex::gdi {

// A pixel rectangle; right and bottom are exclusive.
struct Box {
  int64_t left;
  int64_t top;
  int64_t right;
  int64_t bottom;
};

// The part of `box` inside the surface (possibly empty).
Box ClipToSurface(const Surface& surface, Box box);

void FillBox(Surface& surface, Box box, uint32_t pixel);

void PlotPixel(Surface& surface, int64_t x, int64_t y, uint32_t pixel);

// A pen of `width` pixels covers, around a point, width pixels in each direction: from
// (width - 1) / 2 before the point to width / 2 after it.
void StampPen(Surface& surface, int64_t x, int64_t y, int width, uint32_t pixel);

}  // namespace morvex::gdi
