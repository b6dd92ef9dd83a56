// Lines as Windows draws them: Bresenham steps along the longer axis, the end point is left out,
// and where the exact line passes halfway between two pixels the one with the smaller minor
// coordinate is taken (which is what Windows' per-octant bias amounts to), so a line and its
// reverse cover the same pixels apart from their end points.
//
// Only the steps whose pixels can reach the surface are visited, and the starting error term is
// computed in closed form, so a line from a point billions of pixels away costs no more than
// one across the surface and lands on exactly the pixels of the unclipped line.
#pragma once

#include <cstdint>

#include "platform/gdi/surface.h"

namespace morvex::gdi {

// The caller holds the surface's mutex.
void DrawLine(Surface& surface, int x0, int y0, int x1, int y1, uint32_t pixel);

}  // namespace morvex::gdi
