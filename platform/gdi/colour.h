// Conversion between Win32 colour values (0x00BBGGRR) and surface pixels (0xFFRRGGBB).
#pragma once

#include <cstdint>

#include "platform/win32/types.h"

namespace morvex::gdi {

// The top byte of a COLORREF (palette flags) is ignored: surfaces are always true colour.
inline uint32_t PixelFromColor(COLORREF color) {
  return 0xFF000000u | ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}

inline COLORREF ColorFromPixel(uint32_t pixel) {
  return ((pixel >> 16) & 0xFFu) | (pixel & 0xFF00u) | ((pixel & 0xFFu) << 16);
}

}  // namespace morvex::gdi
