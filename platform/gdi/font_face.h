// The text face: IPAGothic, found through fontconfig and opened with FreeType once per process.
// Glyphs are rendered without anti-aliasing. All FreeType access is serialised here, so any
// thread may call these functions.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/font_metrics.h"

namespace morvex::gdi {

// One rendered glyph: ink is width x rows bytes, row by row, 1 where the glyph covers a pixel.
// left and top place the image relative to the pen position on the baseline (top counts up).
struct GlyphImage {
  int left = 0;
  int top = 0;
  int width = 0;
  int rows = 0;
  int advance = 0;
  std::vector<uint8_t> ink;
};

// False when the face could not be found or opened; a line on standard error said so once.
bool TextFaceAvailable();

// The face's design tables; neutral proportions when the face is unavailable, so that layout
// code still gets sensible metrics.
const FaceTables& TextFaceTables();

// Renders one code point at the given pixels per em (a missing character gives the face's
// substitute glyph). False, with an empty image, when the face is unavailable.
bool RenderGlyph(int pixelsPerEm, char32_t codePoint, GlyphImage& image);

}  // namespace morvex::gdi
