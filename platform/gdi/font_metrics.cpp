#include "platform/gdi/font_metrics.h"

#include <algorithm>
#include <cstdint>

namespace morvex::gdi {

namespace {

// value * numerator / denominator rounded half up, for non-negative operands.
int Scale(int64_t value, int64_t numerator, int64_t denominator) {
  return static_cast<int>((value * numerator + denominator / 2) / denominator);
}

}  // namespace

FontMetrics ComputeFontMetrics(const FaceTables& face, long logHeight) {
  const int64_t requested = std::clamp<int64_t>(logHeight, -kMaxFontHeight, kMaxFontHeight);
  const int64_t winHeight = std::max(face.winAscent + face.winDescent, 1);
  const int64_t unitsPerEm = std::max(face.unitsPerEm, 1);
  FontMetrics m{};
  if (requested >= 0) {
    m.height = requested == 0 ? kDefaultFontHeight : static_cast<int>(requested);
    m.pixelsPerEm = std::max(Scale(m.height, unitsPerEm, winHeight), 1);
  } else {
    m.pixelsPerEm = static_cast<int>(-requested);
    m.height = std::max(Scale(winHeight, m.pixelsPerEm, unitsPerEm), 1);
  }
  m.ascent = Scale(std::max(face.winAscent, 0), m.height, winHeight);
  m.descent = m.height - m.ascent;
  m.internalLeading = std::max(m.height - m.pixelsPerEm, 0);
  const int64_t uncoveredGap = face.lineGap - (winHeight - (face.hheaAscent - face.hheaDescent));
  m.externalLeading = uncoveredGap > 0 ? Scale(uncoveredGap, m.pixelsPerEm, unitsPerEm) : 0;
  m.averageCharWidth = Scale(std::max(face.averageWidth, 0), m.pixelsPerEm, unitsPerEm);
  m.maxCharWidth = Scale(std::max(face.maxAdvance, 0), m.pixelsPerEm, unitsPerEm);
  return m;
}

}  // namespace morvex::gdi
