#include "platform/gdi/glyph_cache.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>
#include <utility>

namespace morvex::gdi {

namespace {

// ASCII at the usual sizes is looked up without any lock: several threads write their status
// texts many times a second, and a shared lock's count is one more cache line they all write.
constexpr int kQuickSizes = 64;
constexpr char32_t kQuickCodePoints = 128;

struct GlyphCache {
  std::shared_mutex mutex;
  // Nodes of an unordered_map never move, so references handed out stay valid.
  std::unordered_map<uint64_t, GlyphImage> glyphs;
  std::array<std::atomic<const GlyphImage*>, kQuickSizes * kQuickCodePoints> quick{};
};

// Never destroyed, like the face: threads may still draw text while the process exits.
GlyphCache& Cache() {
  static GlyphCache* const cache = new GlyphCache;
  return *cache;
}

}  // namespace

const GlyphImage& CachedGlyph(int pixelsPerEm, char32_t codePoint) {
  GlyphCache& cache = Cache();
  std::atomic<const GlyphImage*>* quick = nullptr;
  if (pixelsPerEm >= 0 && pixelsPerEm < kQuickSizes && codePoint < kQuickCodePoints) {
    quick = &cache.quick[static_cast<size_t>(pixelsPerEm) * kQuickCodePoints + codePoint];
    if (const GlyphImage* known = quick->load(std::memory_order_acquire)) return *known;
  }
  const uint64_t key = (static_cast<uint64_t>(static_cast<uint32_t>(pixelsPerEm)) << 32) | codePoint;
  const GlyphImage* found = nullptr;
  {
    std::shared_lock lock(cache.mutex);
    const auto entry = cache.glyphs.find(key);
    if (entry != cache.glyphs.end()) found = &entry->second;
  }
  if (!found) {
    // Rendered outside the cache lock so that lookups of other glyphs go on meanwhile; when two
    // threads render the same glyph, the first one stored wins.
    GlyphImage image;
    RenderGlyph(pixelsPerEm, codePoint, image);
    std::unique_lock lock(cache.mutex);
    found = &cache.glyphs.try_emplace(key, std::move(image)).first->second;
  }
  if (quick) quick->store(found, std::memory_order_release);
  return *found;
}

}  // namespace morvex::gdi
