#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform/gdi_test_canvas.h"

namespace morvex::gdi::test {
namespace {

constexpr uint32_t kSentinel = 0xFF00FF00u;

TEXTMETRICA Metrics(HDC dc) {
  TEXTMETRICA tm{};
  EXPECT_TRUE(GetTextMetricsA(dc, &tm));
  return tm;
}

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

TEST(GdiTextTest, DefaultFontIsASixteenPixelIpaGothicCell) {
  Canvas canvas(4, 4);
  const TEXTMETRICA tm = Metrics(canvas.dc());
  // IPAGothic: 2048 units per em, win ascent 1802, win descent 401, average width 1024.
  EXPECT_EQ(tm.tmHeight, 16);
  EXPECT_EQ(tm.tmAscent, 13);
  EXPECT_EQ(tm.tmDescent, 3);
  EXPECT_EQ(tm.tmInternalLeading, 1);  // 15 pixels per em
  EXPECT_EQ(tm.tmExternalLeading, 0);
  EXPECT_EQ(tm.tmAveCharWidth, 8);
  EXPECT_EQ(tm.tmMaxCharWidth, 15);
  EXPECT_EQ(Width(canvas.dc(), "vol(dB)"), 56);
  EXPECT_EQ(Width(canvas.dc(), "画面"), 30) << "full-width characters advance a whole em";
  EXPECT_EQ(Width(canvas.dc(), ""), 0);
}

// The lowest row holding ink (black) in the columns [from, to), -1 for none.
int LowestInkRow(const Canvas& canvas, int from, int to) {
  int lowest = -1;
  for (const auto& [x, y] : canvas.pointsOf(kBlack)) {
    if (x >= from && x < to && y > lowest) lowest = y;
  }
  return lowest;
}

// The face's digits stand above the baseline, its period and comma reach it: from the status
// lines' 12 pixels up the period ends on the digits' bottom row and the comma's tail goes below
// it, in the same cell. (Below 11 pixels the face draws the comma without a tail.)
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

// Opaque text fills exactly its cell, every pixel of it either text or background, with no
// shade in between.
void ExpectOpaqueCell(const std::string& text) {
  Canvas canvas(200, 30, kSentinel);
  const int width = Width(canvas.dc(), text);
  const int x0 = 5;
  const int y0 = 7;
  DrawText(canvas, x0, y0, text);
  int inked = 0;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      const uint32_t p = canvas.at(x, y);
      const bool inCell = x >= x0 && x < x0 + width && y >= y0 && y < y0 + 16;
      if (!inCell) {
        EXPECT_EQ(p, kSentinel) << text << " at " << x << "," << y;
      } else {
        EXPECT_TRUE(p == 0xFFFF0000u || p == 0xFF0000FFu) << text << " at " << x << "," << y;
        inked += p == 0xFFFF0000u;
      }
    }
  }
  EXPECT_GT(inked, 5 * static_cast<int>(text.size()) / 3) << text;
}

TEST(GdiTextTest, OpaqueTextFillsItsCellWithTwoColoursOnly) {
  ExpectOpaqueCell("Hello, Ag_|0123");
  ExpectOpaqueCell("画面更新間隔");  // UTF-8, full-width characters
}

TEST(GdiTextTest, TextIsTheSameWhereverItIsDrawnAndClippedAtEveryEdge) {
  const std::string text = "fps  60 あ";
  Canvas reference(120, 40, kSentinel);
  DrawText(reference, 30, 12, text);
  const int placements[][2] = {{-7, -5}, {-30, 0}, {6, 9}, {0, -12}};
  for (const auto& at : placements) {
    Canvas small(16, 8, kSentinel);
    DrawText(small, at[0], at[1], text);
    for (int y = 0; y < small.height(); ++y) {
      for (int x = 0; x < small.width(); ++x) {
        EXPECT_EQ(small.at(x, y), reference.at(x - at[0] + 30, y - at[1] + 12))
            << "at " << at[0] << "," << at[1] << " pixel " << x << "," << y;
      }
    }
  }
}

TEST(GdiTextTest, EmptyInvalidAndMalformedCalls) {
  Canvas canvas(10, 10, kSentinel);
  EXPECT_TRUE(TextOutA(canvas.dc(), 0, 0, "", 0));
  EXPECT_TRUE(TextOutA(canvas.dc(), 0, 0, nullptr, 0));
  EXPECT_FALSE(TextOutA(canvas.dc(), 0, 0, "abc", -1));
  EXPECT_FALSE(TextOutA(canvas.dc(), 0, 0, nullptr, 3));
  EXPECT_FALSE(TextOutA(nullptr, 0, 0, "abc", 3));
  EXPECT_EQ(canvas.pointsOf(kSentinel).size(), 100u);
  EXPECT_TRUE(TextOutA(canvas.dc(), 2000000000, -2000000000, "abc", 3));
  EXPECT_EQ(canvas.pointsOf(kSentinel).size(), 100u);
  const char malformed[] = {'a', static_cast<char>(0xFF), static_cast<char>(0xE3), 'b'};
  EXPECT_TRUE(TextOutA(canvas.dc(), 0, 0, malformed, 4));
  EXPECT_GE(Width(canvas.dc(), std::string(malformed, 4)), 2 * 8) << "malformed UTF-8 still advances";
}

// Several threads drawing text of several sizes at once, glyphs not yet rendered.
TEST(GdiTextTest, ConcurrentTextInSeveralSizes) {
  auto draw = [](LONG height, std::string text) {
    Canvas canvas(300, 40, kSentinel);
    HFONT font = FontOfHeight(height);
    SelectObject(canvas.dc(), font);
    for (int i = 0; i < 50; ++i) {
      TextOutA(canvas.dc(), i % 7, 0, text.data(), static_cast<int>(text.size()));
    }
    DeleteObject(font);
  };
  std::thread a(draw, 21, "前回の画面更新処理時間");
  std::thread b(draw, 23, "前回の画面更新処理時間 sleeproop");
  std::thread c(draw, 21, "0補間で2倍(1=してない)");
  a.join();
  b.join();
  c.join();
  Canvas check(300, 40, kSentinel);
  HFONT font = FontOfHeight(21);
  SelectObject(check.dc(), font);
  EXPECT_TRUE(TextOutA(check.dc(), 0, 0, "画面", static_cast<int>(std::strlen("画面"))));
  EXPECT_GT(check.pointsOf(kBlack).size(), 30u);
  DeleteObject(font);
}

}  // namespace
}  // namespace morvex::gdi::test
