// Pixel writes on a surface whose mutex the caller holds, clipped to the surface. Coordinates are
// 64-bit so that arithmetic on any 32-bit input (a rectangle's far edge) cannot
// overflow before it is clipped.
#pragma once

#include <cstdint>

#include "platform/gdi/dirty_region.h"
#include "platform/gdi/surface.h"

namespace morvex::gdi {

// The part of `box` inside the surface (possibly empty).
Box ClipToSurface(const Surface& surface, Box box);

void FillBox(Surface& surface, Box box, uint32_t pixel);

// As FillBox, but writes and marks changed (Surface::markRowChanged) only the stretch of each row
// that held other pixels; returns the box of those stretches for dirty(). A picture cleared
// before it is drawn again then marks only where its last drawing was.
Box FillChangedPixels(Surface& surface, Box box, uint32_t pixel);

void PlotPixel(Surface& surface, int64_t x, int64_t y, uint32_t pixel);

}  // namespace morvex::gdi
