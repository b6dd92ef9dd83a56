// Invalid regions, WM_PAINT and the drawing contexts of windows.
#pragma once

#include "platform/user/window_state.h"

namespace morvex::user {

// With the state mutex held: adds `rect` (the whole client area when null) to the window's
// invalid region, which is kept as its bounding rectangle.
void InvalidateLocked(Window& window, const RECT* rect, bool erase);
// With the state mutex held: a visible window that needs WM_PAINT and passes the filter, or null.
HWND WindowNeedingPaintLocked(HWND filter);
// Tells the display whenever a drawing call changed the window's client surface.
void AttachSurfaceListener(HWND hwnd);

}  // namespace morvex::user
