#include "platform/gdi/font_face.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

namespace morvex::gdi {

namespace {

constexpr const char* kFamily = "IPAGothic";

struct TextFace {
  std::mutex mutex;  // guards every FreeType call and currentPixelsPerEm
  FT_Library library = nullptr;
  FT_Face face = nullptr;  // null when unavailable
  int currentPixelsPerEm = 0;
  FaceTables tables{1000, 800, 200, 800, -200, 0, 500, 1000};
};

bool HasFamily(FcPattern* pattern, const char* family) {
  FcChar8* value = nullptr;
  for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
    if (std::strcmp(reinterpret_cast<const char*>(value), family) == 0) return true;
  }
  return false;
}

// The file and face index of the family; fontconfig always matches some font, so the match
// counts only when it really is the family asked for. An empty path when there is none. A
// private configuration, destroyed afterwards, leaves the process-wide one (which the display
// toolkit uses) alone and leaks nothing.
std::string FindFontFile(const char* family, int& faceIndex) {
  std::string path;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return path;
  if (FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family))) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
      FcChar8* file = nullptr;
      if (HasFamily(match, family) && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        path = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &faceIndex) != FcResultMatch) faceIndex = 0;
      }
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  return path;
}

FaceTables ReadTables(FT_Face face) {
  FaceTables t{};
  t.unitsPerEm = face->units_per_EM;
  t.hheaAscent = face->ascender;
  t.hheaDescent = face->descender;
  t.lineGap = face->height - (face->ascender - face->descender);
  t.maxAdvance = face->max_advance_width;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF) {
    t.winAscent = os2->usWinAscent;
    t.winDescent = os2->usWinDescent;
    t.averageWidth = os2->xAvgCharWidth;
  } else {
    t.winAscent = face->ascender;
    t.winDescent = -face->descender;
    t.averageWidth = face->units_per_EM / 2;
  }
  return t;
}

bool OpenFace(TextFace& text) {
  int faceIndex = 0;
  const std::string path = FindFontFile(kFamily, faceIndex);
  if (path.empty() || FT_Init_FreeType(&text.library) != 0) return false;
  if (FT_New_Face(text.library, path.c_str(), faceIndex, &text.face) != 0) {
    text.face = nullptr;
    return false;
  }
  if (!FT_IS_SCALABLE(text.face) || text.face->units_per_EM == 0) {
    FT_Done_Face(text.face);
    text.face = nullptr;
    return false;
  }
  text.tables = ReadTables(text.face);
  return true;
}

// Opened on first use and never closed: view threads that are still drawing while the process
// exits must not find the face destroyed under them.
TextFace& Face() {
  static TextFace* const text = [] {
    auto* opened = new TextFace;
    if (!OpenFace(*opened)) {
      std::fprintf(stderr,
                   "morvex: the text font %s was not found through fontconfig "
                   "(package fonts-ipafont-gothic); text will not be drawn\n",
                   kFamily);
    }
    return opened;
  }();
  return *text;
}

void CopyMonoBitmap(const FT_Bitmap& bitmap, GlyphImage& image) {
  image.width = static_cast<int>(bitmap.width);
  image.rows = static_cast<int>(bitmap.rows);
  image.ink.assign(static_cast<size_t>(image.width) * static_cast<size_t>(image.rows), 0);
  for (int row = 0; row < image.rows; ++row) {
    const unsigned char* bits = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
    for (int col = 0; col < image.width; ++col) {
      image.ink[static_cast<size_t>(row) * image.width + col] = (bits[col >> 3] >> (7 - (col & 7))) & 1;
    }
  }
}

bool LoadMonoGlyph(FT_Face face, char32_t codePoint) {
  return FT_Load_Glyph(face, FT_Get_Char_Index(face, codePoint), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0;
}

// IPAGothic's digits and letters stand about 1/20 em above the baseline, its period on it. From
// 10 pixels per em the face's hinting rounds that lift to a whole pixel, which left the period
// one row below the digits' bottom, where it reads as a comma ("2.70sec" as "2,70sec"). The
// period is raised to end on the digits' bottom row; the comma keeps its tail below it, and
// every other glyph, the baseline and the advances stay where they are.
void LiftPeriodToDigits(FT_Face face, GlyphImage& period) {
  if (period.rows == 0 || !LoadMonoGlyph(face, U'0')) return;
  const FT_GlyphSlot digit = face->glyph;
  // Rows below the baseline of each glyph's lowest ink row (negative when it stands above).
  const int digitBottom = static_cast<int>(digit->bitmap.rows) - digit->bitmap_top;
  const int periodBottom = period.rows - period.top;
  if (digit->bitmap.rows > 0 && periodBottom > digitBottom) period.top += periodBottom - digitBottom;
}

}  // namespace

bool TextFaceAvailable() { return Face().face != nullptr; }

const FaceTables& TextFaceTables() { return Face().tables; }

bool RenderGlyph(int pixelsPerEm, char32_t codePoint, GlyphImage& image) {
  image = GlyphImage{};
  TextFace& text = Face();
  std::lock_guard lock(text.mutex);
  if (!text.face) return false;
  if (text.currentPixelsPerEm != pixelsPerEm) {
    if (FT_Set_Pixel_Sizes(text.face, pixelsPerEm, pixelsPerEm) != 0) return true;
    text.currentPixelsPerEm = pixelsPerEm;
  }
  if (!LoadMonoGlyph(text.face, codePoint)) return true;
  const FT_GlyphSlot slot = text.face->glyph;
  image.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  image.left = slot->bitmap_left;
  image.top = slot->bitmap_top;
  // The mono target renders one bit per pixel, top row first.
  if (slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO && slot->bitmap.pitch >= 0)
    CopyMonoBitmap(slot->bitmap, image);
  if (codePoint == U'.') LiftPeriodToDigits(text.face, image);
  return true;
}

}  // namespace morvex::gdi
