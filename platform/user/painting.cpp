#include "platform/user/painting.h"

#include <algorithm>

#include "platform/display/display_backend.h"
#include "platform/gdi/window_dc.h"
#include "platform/user/window_geometry.h"
#include "platform/win32.h"

namespace morvex::user {

void InvalidateLocked(Window& window, const RECT* rect, bool erase) {
  RECT area{0, 0, window.clientWidth, window.clientHeight};
  if (rect) {
    area.left = std::max(area.left, rect->left);
    area.top = std::max(area.top, rect->top);
    area.right = std::min(area.right, rect->right);
    area.bottom = std::min(area.bottom, rect->bottom);
  }
  if (area.left >= area.right || area.top >= area.bottom) return;
  if (!window.invalid) {
    window.invalidRect = area;
  } else {
    RECT& r = window.invalidRect;
    r.left = std::min(r.left, area.left);
    r.top = std::min(r.top, area.top);
    r.right = std::max(r.right, area.right);
    r.bottom = std::max(r.bottom, area.bottom);
  }
  window.invalid = true;
  window.erasePending = window.erasePending || erase;
}

HWND WindowNeedingPaintLocked(HWND filter) {
  for (HWND hwnd : State().creationOrder) {
    if (filter && hwnd != filter) continue;
    Window* window = FindWindowLocked(hwnd);
    if (window && window->visible && window->invalid && !window->destroying) return hwnd;
  }
  return nullptr;
}

void AttachSurfaceListener(HWND hwnd) {
  std::shared_ptr<gdi::Surface> surface;
  {
    std::lock_guard lock(State().mutex);
    if (Window* window = FindWindowLocked(hwnd)) surface = window->surface;
  }
  if (surface) surface->setChangeListener([hwnd] { display::Backend().surfaceChanged(hwnd); });
}

}  // namespace morvex::user

using namespace morvex::user;

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  {
    std::lock_guard lock(State().mutex);
    Window* window = FindWindowLocked(hwnd);
    if (!window) return FALSE;
    InvalidateLocked(*window, rect, erase);
  }
  // A repaint asked from another thread must wake the user-interface thread.
  morvex::display::Backend().wake();
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT*) {
  std::lock_guard lock(State().mutex);
  Window* window = FindWindowLocked(hwnd);
  if (!window) return FALSE;
  window->invalid = false;
  window->erasePending = false;
  return TRUE;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
  if (!paint) return nullptr;
  std::shared_ptr<morvex::gdi::Surface> surface;
  bool erase = false;
  {
    std::lock_guard lock(State().mutex);
    Window* window = FindWindowLocked(hwnd);
    if (!window) return nullptr;
    surface = window->surface;
    erase = window->erasePending;
    paint->rcPaint = window->invalid ? window->invalidRect : RECT{0, 0, 0, 0};
    window->invalid = false;
    window->erasePending = false;
  }
  paint->hdc = morvex::gdi::CreateSurfaceDC(surface);
  paint->fRestore = FALSE;
  paint->fIncUpdate = FALSE;
  // The background is erased when the invalidation asked for it, as WM_ERASEBKGND does.
  paint->fErase = erase && CallWindow(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) == 0;
  return paint->hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
  if (!paint || !paint->hdc) return FALSE;
  DeleteDC(paint->hdc);
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  std::shared_ptr<morvex::gdi::Surface> surface;
  {
    std::lock_guard lock(State().mutex);
    Window* window = FindWindowLocked(hwnd);
    if (!window) return nullptr;
    surface = window->surface;
  }
  return morvex::gdi::CreateSurfaceDC(surface);
}

int ReleaseDC(HWND, HDC hdc) { return hdc && DeleteDC(hdc) ? 1 : 0; }
