// Drawing contexts bound to a window's client surface, handed out by GetDC and BeginPaint.
// The DC holds a reference to the surface, so a thread that still draws after its window is
// gone draws into a surface nobody shows, never into freed memory.
#pragma once

#include <memory>

#include "platform/gdi/surface.h"
#include "platform/win32/types.h"

namespace morvex::gdi {

HDC CreateSurfaceDC(std::shared_ptr<Surface> surface);

}  // namespace morvex::gdi
