#include "platform/gdi/objects.h"

#include <mutex>
#include <new>
#include <unordered_map>
#include <unordered_set>

#include "platform/gdi/colour.h"
#include "platform/gdi/font_face.h"

namespace morvex::gdi {

namespace {

// Larger bitmaps are refused rather than attempted (a gigabyte of pixels).
constexpr size_t kMaxBitmapPixels = size_t{1} << 28;

struct StockObjects {
  std::shared_ptr<Brush> whiteBrush = std::make_shared<Brush>(0xFFFFFFFFu);
  std::shared_ptr<Brush> blackBrush = std::make_shared<Brush>(0xFF000000u);
  std::shared_ptr<Pen> whitePen = std::make_shared<Pen>(false, 0xFFFFFFFFu);
  std::shared_ptr<Pen> blackPen = std::make_shared<Pen>(false, 0xFF000000u);
  std::shared_ptr<Pen> nullPen = std::make_shared<Pen>(true, 0u);
  // The system font is the 16 pixel default cell, as on Windows.
  std::shared_ptr<Font> systemFont = std::make_shared<Font>(ComputeFontMetrics(TextFaceTables(), 0));
  std::shared_ptr<Bitmap> defaultBitmap =
      std::make_shared<Bitmap>(std::make_shared<Surface>(1, 1, 0xFF000000u));
};

// Every live object by its handle. Stock objects are registered for good; DeleteObject leaves
// them alone.
struct Registry {
  std::mutex mutex;
  std::unordered_map<const void*, std::shared_ptr<GdiObject>> objects;
  std::unordered_set<const void*> stock;
};

// Built on first use and never destroyed: detached view threads may still draw while the
// process exits.
struct State {
  StockObjects stock;
  Registry registry;
  State() {
    const std::shared_ptr<GdiObject> all[] = {stock.whiteBrush, stock.blackBrush, stock.whitePen,     stock.blackPen,
                                              stock.nullPen,    stock.systemFont, stock.defaultBitmap};
    for (const std::shared_ptr<GdiObject>& object : all) {
      registry.objects.emplace(object.get(), object);
      registry.stock.insert(object.get());
    }
  }
};

State& Gdi() {
  static State* const state = new State;
  return *state;
}

template <typename Handle>
Handle Register(std::shared_ptr<GdiObject> object) {
  Registry& registry = Gdi().registry;
  const void* key = object.get();
  std::lock_guard lock(registry.mutex);
  registry.objects.emplace(key, std::move(object));
  return static_cast<Handle>(const_cast<void*>(key));
}

}  // namespace

std::shared_ptr<GdiObject> LookupObject(HGDIOBJ handle) {
  Registry& registry = Gdi().registry;
  std::lock_guard lock(registry.mutex);
  const auto found = registry.objects.find(handle);
  return found == registry.objects.end() ? nullptr : found->second;
}

std::shared_ptr<Pen> DefaultPen() { return Gdi().stock.blackPen; }
std::shared_ptr<Brush> DefaultBrush() { return Gdi().stock.whiteBrush; }
std::shared_ptr<Font> DefaultFont() { return Gdi().stock.systemFont; }
std::shared_ptr<Bitmap> DefaultBitmap() { return Gdi().stock.defaultBitmap; }

}  // namespace morvex::gdi

using namespace morvex::gdi;

HGDIOBJ GetStockObject(int index) {
  const StockObjects& stock = Gdi().stock;
  switch (index) {
    case WHITE_BRUSH: return stock.whiteBrush.get();
    case BLACK_BRUSH: return stock.blackBrush.get();
    case WHITE_PEN: return stock.whitePen.get();
    case BLACK_PEN: return stock.blackPen.get();
    case NULL_PEN: return stock.nullPen.get();
    default: return nullptr;
  }
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return Register<HBRUSH>(std::make_shared<Brush>(PixelFromColor(color)));
}

HFONT CreateFontIndirectA(const LOGFONTA* logFont) {
  if (!logFont) return nullptr;
  return Register<HFONT>(std::make_shared<Font>(ComputeFontMetrics(TextFaceTables(), logFont->lfHeight)));
}

// Every bitmap is a 32-bit surface whatever the context; a size below zero counts as zero, and
// an empty bitmap simply takes no drawing.
HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  const int w = width < 0 ? 0 : width;
  const int h = height < 0 ? 0 : height;
  if (static_cast<size_t>(w) * static_cast<size_t>(h) > kMaxBitmapPixels) return nullptr;
  try {
    return Register<HBITMAP>(std::make_shared<Bitmap>(std::make_shared<Surface>(w, h, 0xFF000000u)));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

BOOL DeleteObject(HGDIOBJ handle) {
  Registry& registry = Gdi().registry;
  std::shared_ptr<GdiObject> retired;
  {
    std::lock_guard lock(registry.mutex);
    if (registry.stock.count(handle)) return TRUE;
    const auto found = registry.objects.find(handle);
    if (found == registry.objects.end()) return FALSE;
    retired = std::move(found->second);
    registry.objects.erase(found);
  }
  // Freed here, outside the registry lock, unless a context still has it selected.
  return TRUE;
}
