#include "platform/gdi/glyph_cache.h"

#include <cstdint>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>
#include <utility>

namespace morvex::gdi {

namespace {

struct GlyphCache {
  std::shared_mutex mutex;
  // Nodes of an unordered_map never move, so references handed out stay valid.
  std::unordered_map<uint64_t, GlyphImage> glyphs;
};

// Never destroyed, like the face: threads may still draw text while the process exits.
GlyphCache& Cache() {
  static GlyphCache* const cache = new GlyphCache;
  return *cache;
}

}  // namespace

const GlyphImage& CachedGlyph(int pixelsPerEm, char32_t codePoint) {
  GlyphCache& cache = Cache();
  const uint64_t key = (static_cast<uint64_t>(static_cast<uint32_t>(pixelsPerEm)) << 32) | codePoint;
  {
    std::shared_lock lock(cache.mutex);
    const auto found = cache.glyphs.find(key);
    if (found != cache.glyphs.end()) return found->second;
  }
  // Rendered outside the cache lock so that lookups of other glyphs go on meanwhile; when two
  // threads render the same glyph, the first one stored wins.
  GlyphImage image;
  RenderGlyph(pixelsPerEm, codePoint, image);
  std::unique_lock lock(cache.mutex);
  return cache.glyphs.try_emplace(key, std::move(image)).first->second;
}

}  // namespace morvex::gdi
