#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/gdi/font_metrics.h"
#include "platform/gdi/utf8.h"
#include "tests/platform/gdi_test_canvas.h"

namespace morvex::gdi::test {
namespace {

constexpr uint32_t kSentinel = 0xFF00FF00u;

HFONT FontOfHeight(LONG height) {
  LOGFONTA description{};
  description.lfHeight = height;
  return CreateFontIndirectA(&description);
}

int Width(HDC dc, const std::string& text) {
  SIZE size{};
  EXPECT_TRUE(GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size));
  return size.cx;
}

// The face's tables (2048 units per em, ascent 1802, descent 401, average 1024) at every request.
TEST(GdiTextTest, FontHeightsGiveTheirCellsAndAdvances) {
  Canvas canvas(4, 4);
  EXPECT_EQ(Width(canvas.dc(), "vol(dB)"), 56);
  EXPECT_EQ(Width(canvas.dc(), "画面"), 30) << "full-width characters advance a whole em";
  // Metrics of the font of `request` height, and of the default font for no request.
  auto metrics = [&](std::optional<LONG> request) {
    HFONT font = request ? FontOfHeight(*request) : nullptr;
    HGDIOBJ old = font ? SelectObject(canvas.dc(), font) : nullptr;
    TEXTMETRICA tm{};
    EXPECT_TRUE(GetTextMetricsA(canvas.dc(), &tm));
    if (font) DeleteObject(SelectObject(canvas.dc(), old));
    return tm;
  };
  const struct { std::optional<LONG> request; LONG height, ascent, descent, internal, average, widest; } cases[] = {
      {std::nullopt, 16, 13, 3, 1, 8, 15},
      {12, 12, 10, 2, 1, 6, 11},
  };
  for (const auto& c : cases) {
    const TEXTMETRICA tm = metrics(c.request);
    EXPECT_EQ((std::vector<LONG>{tm.tmHeight, tm.tmAscent, tm.tmDescent, tm.tmInternalLeading, tm.tmExternalLeading,
                                 tm.tmAveCharWidth, tm.tmMaxCharWidth}),
              (std::vector<LONG>{c.height, c.ascent, c.descent, c.internal, 0, c.average, c.widest}))
        << c.request.value_or(-1000);
  }
  for (LONG height = 1; height <= 200; ++height) {
    const TEXTMETRICA tm = metrics(height);
    EXPECT_TRUE(tm.tmHeight == height && tm.tmAscent + tm.tmDescent == height && tm.tmDescent >= 0) << height;
  }
  EXPECT_GE(ComputeFontMetrics(FaceTables{}, 16).pixelsPerEm, 1) << "a face without tables divides by nothing";
}

// The lowest row holding ink (black) in the columns [from, to), -1 for none.
int LowestInkRow(const Canvas& canvas, int from, int to) {
  int lowest = -1;
  for (const auto& [x, y] : canvas.pointsOf(kBlack)) {
    if (x >= from && x < to && y > lowest) lowest = y;
  }
  return lowest;
}

// From 12 pixels up the period ends on the digits' bottom row and the comma hangs below it.
TEST(GdiTextTest, PeriodSitsOnTheDigitsAndTheCommaHangsBelowThemAtEverySize) {
  for (LONG height = 11; height <= 40; ++height) {
    Canvas canvas(60, 40);
    HFONT font = FontOfHeight(height);
    SelectObject(canvas.dc(), font);
    const int advance = Width(canvas.dc(), "0");
    EXPECT_TRUE(TextOutA(canvas.dc(), 0, 0, "0.,", 3));
    const int digit = LowestInkRow(canvas, 0, advance);
    EXPECT_EQ(LowestInkRow(canvas, advance, 2 * advance), digit) << "period at height " << height;
    EXPECT_GT(LowestInkRow(canvas, 2 * advance, 3 * advance), digit) << "comma at height " << height;
    DeleteObject(font);
  }
}

// Draws `text` at (x, y) on a canvas prefilled with a sentinel colour; red on blue.
void DrawText(Canvas& canvas, int x, int y, const std::string& text) {
  SetTextColor(canvas.dc(), RGB(255, 0, 0));
  SetBkColor(canvas.dc(), RGB(0, 0, 255));
  EXPECT_TRUE(TextOutA(canvas.dc(), x, y, text.data(), static_cast<int>(text.size())));
}

// Opaque text is its cell in two colours, the same wherever drawn and clipped at every edge.
TEST(GdiTextTest, OpaqueTextFillsItsCellWithTwoColoursAndClipsAtEveryEdge) {
  for (const std::string text : {"Hello, Ag_|0123", "画面更新間隔"}) {
    Canvas canvas(200, 30, kSentinel);
    const int width = Width(canvas.dc(), text);
    DrawText(canvas, 5, 7, text);
    int inked = 0;
    for (int y = 0; y < canvas.height(); ++y) {
      for (int x = 0; x < canvas.width(); ++x) {
        const uint32_t p = canvas.at(x, y);
        const bool inCell = x >= 5 && x < 5 + width && y >= 7 && y < 7 + 16;
        EXPECT_TRUE(inCell ? p == 0xFFFF0000u || p == 0xFF0000FFu : p == kSentinel) << text << " " << x << "," << y;
        inked += p == 0xFFFF0000u;
      }
    }
    EXPECT_GT(inked, 5 * static_cast<int>(text.size()) / 3) << text;
  }
  const std::string text = "fps  60 あ";
  Canvas reference(120, 40, kSentinel);
  DrawText(reference, 30, 12, text);
  for (const auto& [left, top] : {std::pair{-7, -5}, {-30, 0}, {6, 9}, {0, -12}}) {
    Canvas small(16, 8, kSentinel);
    DrawText(small, left, top, text);
    for (int y = 0; y < small.height(); ++y) {
      for (int x = 0; x < small.width(); ++x) {
        EXPECT_EQ(small.at(x, y), reference.at(x - left + 30, y - top + 12)) << left << "," << top << " " << x;
      }
    }
  }
}

// Malformed UTF-8 becomes one replacement character a bad byte, and decoding resumes.
TEST(GdiTextTest, EmptyInvalidAndMalformedText) {
  Canvas canvas(10, 10, kSentinel);
  EXPECT_FALSE(TextOutA(canvas.dc(), 0, 0, "abc", -1));
  EXPECT_FALSE(TextOutA(canvas.dc(), 0, 0, nullptr, 3));
  EXPECT_FALSE(TextOutA(nullptr, 0, 0, "abc", 3));
  EXPECT_TRUE(TextOutA(canvas.dc(), 2000000000, -2000000000, "abc", 3));
  EXPECT_EQ(canvas.pointsOf(kSentinel).size(), 100u);
  const char malformed[] = {'a', static_cast<char>(0xFF), static_cast<char>(0xE3), 'b'};
  EXPECT_TRUE(TextOutA(canvas.dc(), 0, 0, malformed, 4));
  EXPECT_GE(Width(canvas.dc(), std::string(malformed, 4)), 2 * 8) << "malformed UTF-8 still advances";
  constexpr char32_t R = kReplacementCharacter;
  const struct { std::string bytes; std::u32string expected; } cases[] = {
      {"A~\xC3\xA9画\xF0\x9F\x8E\xB5\xF4\x8F\xBF\xBF", {'A', '~', 0xE9, 0x753B, 0x1F3B5, 0x10FFFF}},
      {"\x80" "a", {R, 'a'}} /* stray continuation */, {"\xC0\xAF", {R, R}} /* overlong lead */,
      {"\xE0\x80\xAF", {R, R, R}} /* overlong */,    {"\xED\xA0\x80", {R, R, R}} /* surrogate */,
      {"\xF4\x90\x80\x80", {R, R, R, R}} /* beyond U+10FFFF */, {"\xE7\x94" "b", {R, R, 'b'}} /* cut short */,
      {"\xE7\x94", {R, R}} /* cut by the end */,    {"\xFF", {R}},
  };
  for (const auto& c : cases) {
    std::u32string decoded;
    for (const char *pos = c.bytes.data(), *end = pos + c.bytes.size(); pos < end;) decoded += NextCodePoint(pos, end);
    EXPECT_EQ(decoded, c.expected) << c.bytes;
  }
}

// Threads drawing text of several sizes at once, glyphs not yet rendered: each draws its own.
TEST(GdiTextTest, ConcurrentTextInSeveralSizes) {
  auto draw = [](LONG height, std::string text, size_t* inked) {
    Canvas canvas(300, 40, kSentinel);
    HFONT font = FontOfHeight(height);
    SelectObject(canvas.dc(), font);
    for (int i = 0; i < 50; ++i) TextOutA(canvas.dc(), i % 7, 0, text.data(), static_cast<int>(text.size()));
    *inked = canvas.pointsOf(kBlack).size();
    DeleteObject(font);
  };
  size_t inked[3] = {};
  std::thread a(draw, 21, "前回の画面更新処理時間", &inked[0]), b(draw, 23, "前回の画面更新処理時間 sleeproop", &inked[1]),
      c(draw, 21, "0補間で2倍(1=してない)", &inked[2]);
  for (std::thread* thread : {&a, &b, &c}) thread->join();
  for (size_t count : inked) EXPECT_GT(count, 300u);
}

}  // namespace
}  // namespace morvex::gdi::test
