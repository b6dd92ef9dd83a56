// Text metrics of the text face at a requested height, derived from the face's design tables the
// way Windows derives them for a TrueType font:
//  - a positive LOGFONT height is the cell height (ascent + descent); the pixels per em are
//    that height scaled by unitsPerEm / (winAscent + winDescent), rounded;
//  - a negative height is the em height itself; the cell is (winAscent + winDescent) scaled to it;
//  - zero asks for the default height, a 16 pixel cell;
//  - the cell splits into ascent and descent in the ratio winAscent : winDescent, so tmHeight is
//    exactly the requested cell height;
//  - internal leading is the cell minus the em; external leading is the part of the hhea line gap
//    that the win metrics do not already cover (0 for IPAGothic);
//  - the average character width is OS/2 xAvgCharWidth scaled (for IPAGothic the width of every
//    half-width character), the maximum width the widest advance scaled.
// Heights beyond 1024 pixels are drawn at 1024.
#pragma once

namespace morvex::gdi {

inline constexpr int kDefaultFontHeight = 16;
inline constexpr int kMaxFontHeight = 1024;

// Design values in font units.
struct FaceTables {
  int unitsPerEm;
  int winAscent;
  int winDescent;
  int hheaAscent;
  int hheaDescent;  // negative below the baseline, as stored in the font
  int lineGap;
  int averageWidth;
  int maxAdvance;
};

struct FontMetrics {
  int height;
  int ascent;
  int descent;
  int internalLeading;
  int externalLeading;
  int averageCharWidth;
  int maxCharWidth;
  int pixelsPerEm;
};

FontMetrics ComputeFontMetrics(const FaceTables& face, long logHeight);

}  // namespace morvex::gdi
