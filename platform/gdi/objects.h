// Drawing objects behind the HPEN, HBRUSH, HFONT and HBITMAP handles. A handle is the address of
// its object; the registry keeps every live object, so a deleted or foreign handle is refused
// instead of followed. Contexts share ownership of what is selected into them, so deleting a
// selected object only retires its handle: the object lives on until it is deselected.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gdi/font_metrics.h"
#include "platform/gdi/surface.h"
#include "platform/win32/gdi.h"

namespace morvex::gdi {

enum class ObjectKind { Pen, Brush, Font, Bitmap };

struct GdiObject {
  explicit GdiObject(ObjectKind objectKind) : kind(objectKind) {}
  virtual ~GdiObject() = default;
  const ObjectKind kind;
};

// Every pen is one pixel wide: solid, or the null pen, which draws nothing.
struct Pen : GdiObject {
  Pen(bool isNull, uint32_t penPixel) : GdiObject(ObjectKind::Pen), null(isNull), pixel(penPixel) {}
  const bool null;
  const uint32_t pixel;
};

struct Brush : GdiObject {
  explicit Brush(uint32_t brushPixel) : GdiObject(ObjectKind::Brush), pixel(brushPixel) {}
  const uint32_t pixel;
};

struct Font : GdiObject {
  explicit Font(const FontMetrics& fontMetrics) : GdiObject(ObjectKind::Font), metrics(fontMetrics) {}
  const FontMetrics metrics;
};

struct Bitmap : GdiObject {
  explicit Bitmap(std::shared_ptr<Surface> bitmapSurface)
      : GdiObject(ObjectKind::Bitmap), surface(std::move(bitmapSurface)) {}
  const std::shared_ptr<Surface> surface;
};

// The live object (stock or not yet deleted) that a handle names, or null.
std::shared_ptr<GdiObject> LookupObject(HGDIOBJ handle);

inline HGDIOBJ HandleOf(const GdiObject* object) { return const_cast<GdiObject*>(object); }

// What a new context starts with: the black pen, the white brush, the system font and, for a
// memory context, a shared 1 by 1 bitmap that is never freed.
std::shared_ptr<Pen> DefaultPen();
std::shared_ptr<Brush> DefaultBrush();
std::shared_ptr<Font> DefaultFont();
std::shared_ptr<Bitmap> DefaultBitmap();

}  // namespace morvex::gdi
