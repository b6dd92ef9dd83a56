// Text through a context: UTF-8 strings in the selected font, without anti-aliasing. A text's
// cell runs from its reference point (the top left corner) over the sum of its characters'
// advances and the font's full height; the glyphs sit on the baseline at the font's ascent.
#include <cstring>

#include "platform/gdi/colour.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/glyph_cache.h"
#include "platform/gdi/raster.h"
#include "platform/gdi/utf8.h"

using namespace morvex::gdi;

namespace {

bool ValidText(LPCSTR text, int length) { return length >= 0 && (length == 0 || text); }

int64_t TextWidth(int pixelsPerEm, const char* text, int length) {
  int64_t width = 0;
  for (const char *pos = text, *end = text + length; pos < end;) {
    width += CachedGlyph(pixelsPerEm, NextCodePoint(pos, end)).advance;
  }
  return width;
}

// Returns the box the glyph covers.
Box DrawGlyph(Surface& surface, const GlyphImage& glyph, int64_t left, int64_t top, uint32_t pixel) {
  const Box box = ClipToSurface(surface, {left, top, left + glyph.width, top + glyph.rows});
  for (int64_t y = box.top; y < box.bottom; ++y) {
    const uint8_t* ink = glyph.ink.data() + (y - top) * glyph.width;
    uint32_t* row = surface.pixels() + y * surface.width();
    for (int64_t x = box.left; x < box.right; ++x) {
      if (ink[x - left]) row[x] = pixel;
    }
  }
  return box;
}

}  // namespace

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int length) {
  if (!hdc || !ValidText(text, length) || !TextFaceAvailable()) return FALSE;
  Dc& dc = *DcFromHandle(hdc);
  DrawCall call(dc);
  Surface* surface = call.surface();
  if (!surface || length == 0) return TRUE;
  const FontMetrics& metrics = dc.font->metrics;
  const int64_t width = TextWidth(metrics.pixelsPerEm, text, length);
  Box changed{x, y, x + width, static_cast<int64_t>(y) + metrics.height};
  FillBox(*surface, changed, PixelFromColor(dc.backgroundColor));
  const uint32_t ink = PixelFromColor(dc.textColor);
  const int64_t baseline = static_cast<int64_t>(y) + metrics.ascent;
  int64_t penX = x;
  for (const char *pos = text, *end = text + length; pos < end;) {
    const GlyphImage& glyph = CachedGlyph(metrics.pixelsPerEm, NextCodePoint(pos, end));
    changed = Union(changed, DrawGlyph(*surface, glyph, penX + glyph.left, baseline - glyph.top, ink));
    penX += glyph.advance;
  }
  call.markChanged(changed);
  return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA tm) {
  if (!hdc || !tm) return FALSE;
  Dc& dc = *DcFromHandle(hdc);
  FontMetrics metrics;
  {
    std::lock_guard lock(dc.mutex);
    metrics = dc.font->metrics;
  }
  std::memset(tm, 0, sizeof(*tm));
  tm->tmHeight = metrics.height;
  tm->tmAscent = metrics.ascent;
  tm->tmDescent = metrics.descent;
  tm->tmInternalLeading = metrics.internalLeading;
  tm->tmExternalLeading = metrics.externalLeading;
  tm->tmAveCharWidth = metrics.averageCharWidth;
  tm->tmMaxCharWidth = metrics.maxCharWidth;
  tm->tmWeight = 400;
  tm->tmDigitizedAspectX = 96;
  tm->tmDigitizedAspectY = 96;
  tm->tmFirstChar = 0x20;
  tm->tmLastChar = 0xFF;
  tm->tmDefaultChar = '?';
  tm->tmBreakChar = ' ';
  return TRUE;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int length, LPSIZE size) {
  if (!hdc || !size || !ValidText(text, length) || !TextFaceAvailable()) return FALSE;
  Dc& dc = *DcFromHandle(hdc);
  FontMetrics metrics;
  {
    std::lock_guard lock(dc.mutex);
    metrics = dc.font->metrics;
  }
  size->cx = static_cast<LONG>(TextWidth(metrics.pixelsPerEm, text, length));
  size->cy = metrics.height;
  return TRUE;
}
