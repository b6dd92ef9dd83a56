// Pixels, lines and rectangles through a context.
#include <algorithm>

#include "platform/gdi/colour.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/line.h"
#include "platform/gdi/raster.h"

using namespace morvex::gdi;

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  if (!hdc) return CLR_INVALID;
  DrawCall call(*DcFromHandle(hdc));
  Surface* surface = call.surface();
  if (!surface || x < 0 || y < 0 || x >= surface->width() || y >= surface->height()) return CLR_INVALID;
  PlotPixel(*surface, x, y, PixelFromColor(color));
  call.markChanged({x, y, static_cast<int64_t>(x) + 1, static_cast<int64_t>(y) + 1});
  return color & 0x00FFFFFFu;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  if (!hdc) return CLR_INVALID;
  DrawCall call(*DcFromHandle(hdc));
  const Surface* surface = call.surface();
  if (!surface || x < 0 || y < 0 || x >= surface->width() || y >= surface->height()) return CLR_INVALID;
  return ColorFromPixel(surface->pixels()[static_cast<ptrdiff_t>(y) * surface->width() + x]);
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous) {
  if (!hdc) return FALSE;
  Dc& dc = *DcFromHandle(hdc);
  std::lock_guard lock(dc.mutex);
  if (previous) *previous = dc.position;
  dc.position = {x, y};
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  if (!hdc) return FALSE;
  Dc& dc = *DcFromHandle(hdc);
  DrawCall call(dc);
  if (call.surface() && !dc.pen->null) {
    DrawLine(*call.surface(), dc.position.x, dc.position.y, x, y, dc.pen->pixel);
    call.markChanged({std::min(dc.position.x, x), std::min(dc.position.y, y),
                      static_cast<int64_t>(std::max(dc.position.x, x)) + 1,
                      static_cast<int64_t>(std::max(dc.position.y, y)) + 1});
  }
  dc.position = {x, y};
  return TRUE;
}

// The outline runs along columns left and right - 1 and rows top and bottom - 1; the brush fills
// what lies inside it. Without a pen the filled area is one pixel narrower and lower than the
// outline would be, as on Windows.
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  if (!hdc) return FALSE;
  Dc& dc = *DcFromHandle(hdc);
  DrawCall call(dc);
  Surface* surface = call.surface();
  if (!surface) return TRUE;
  const int64_t l = std::min(left, right);
  const int64_t r = std::max(left, right);
  const int64_t t = std::min(top, bottom);
  const int64_t b = std::max(top, bottom);
  // Only pixels that were not already the brush's or the pen's count as changed: a picture
  // cleared each cycle then shows again only where it was drawn.
  const Box inside = dc.pen->null ? Box{l, t, r - 1, b - 1} : Box{l + 1, t + 1, r - 1, b - 1};
  Box changed = FillChangedPixels(*surface, inside, dc.brush->pixel);
  if (r > l && b > t && !dc.pen->null) {
    for (const Box& edge : {Box{l, t, r, t + 1}, Box{l, b - 1, r, b}, Box{l, t, l + 1, b}, Box{r - 1, t, r, b}}) {
      changed = Union(changed, FillChangedPixels(*surface, edge, dc.pen->pixel));
    }
  }
  call.markStamped(changed);
  return TRUE;
}

// Right and bottom are exclusive; an empty or inverted rectangle fills nothing.
int FillRect(HDC hdc, const RECT* rect, HBRUSH brushHandle) {
  const std::shared_ptr<GdiObject> object = LookupObject(brushHandle);
  if (!hdc || !rect || !object || object->kind != ObjectKind::Brush) return 0;
  const Brush& brush = static_cast<const Brush&>(*object);
  DrawCall call(*DcFromHandle(hdc));
  if (call.surface()) {
    const Box box{rect->left, rect->top, rect->right, rect->bottom};
    FillBox(*call.surface(), box, brush.pixel);
    call.markChanged(box);
  }
  return 1;
}
