// Rendered glyphs by (pixels per em, code point), kept for the life of the process: the program
// draws a few hundred distinct characters at two or three sizes, so after the first frames a
// lookup is a lock-free table read for ASCII and a shared-lock hash probe otherwise, with no
// allocation and no FreeType call.
#pragma once

#include "platform/gdi/font_face.h"

namespace morvex::gdi {

// The reference stays valid for the life of the process.
const GlyphImage& CachedGlyph(int pixelsPerEm, char32_t codePoint);

}  // namespace morvex::gdi
