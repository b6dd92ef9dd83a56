#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "tests/platform/gdi_test_canvas.h"

namespace morvex::gdi::test {
namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kGreen = 0xFF00FF00u;

// The canvas as text, one character per pixel: '#' black, 'r' red, '.' white, 'g' green.
std::string Picture(const Canvas& canvas) {
  std::string text;
  const std::vector<uint32_t> pixels = canvas.snapshot();
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      const uint32_t p = pixels[y * canvas.width() + x];
      text += p == kBlack ? '#' : p == kRed ? 'r' : p == kWhite ? '.' : p == kGreen ? 'g' : '?';
    }
    text += '\n';
  }
  return text;
}

class GdiShapesTest : public ::testing::Test {
 protected:
  GdiShapesTest() : red_(CreateSolidBrush(RGB(255, 0, 0))) {}
  ~GdiShapesTest() override { DeleteObject(red_); }
  HBRUSH red_;
};

TEST_F(GdiShapesTest, SetPixelStoresRedGreenBlueFromAColorrefInsideTheSurfaceOnly) {
  Canvas canvas(4, 4);
  EXPECT_EQ(SetPixel(canvas.dc(), 1, 2, RGB(255, 0, 0)), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(1, 2), 0xFFFF0000u);
  SetPixel(canvas.dc(), 2, 2, RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(canvas.at(2, 2), 0xFF123456u);
  EXPECT_EQ(GetPixel(canvas.dc(), 2, 2), RGB(0x12, 0x34, 0x56));
  // The top byte of a colour value is not part of the colour.
  EXPECT_EQ(SetPixel(canvas.dc(), 3, 3, 0x02000000u | RGB(0, 0, 255)), RGB(0, 0, 255));
  EXPECT_EQ(canvas.at(3, 3), 0xFF0000FFu);
  // Pixels outside the surface are refused and nothing is written.
  const std::vector<uint32_t> before = canvas.snapshot();
  for (const auto& [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 4}, {INT_MIN, INT_MAX}}) {
    EXPECT_EQ(SetPixel(canvas.dc(), x, y, RGB(0, 0, 0)), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas.dc(), x, y), CLR_INVALID);
  }
  EXPECT_EQ(canvas.snapshot(), before);
}

// Each case: rectangles drawn on a green canvas with a red brush, and the picture they leave.
TEST_F(GdiShapesTest, RectanglesOutlineWithThePenAndFillInsideRightAndBottomExclusive) {
  const char* const kOutlined =
      "gggggggg\n"
      "g#####gg\n"
      "g#rrr#gg\n"
      "g#rrr#gg\n"
      "g#####gg\n"
      "gggggggg\n";
  const struct {
    const char* what;
    int width, height;
    HGDIOBJ pen;
    std::vector<RECT> rects;
    const char* expected;
  } cases[] = {
      {"null pen: one pixel less of fill", 7, 5, GetStockObject(NULL_PEN), {{1, 1, 6, 5}},
       "ggggggg\n"
       "grrrrgg\n"
       "grrrrgg\n"
       "grrrrgg\n"
       "ggggggg\n"},
      {"outline and fill", 8, 6, nullptr, {{1, 1, 6, 5}}, kOutlined},
      {"corners the other way round", 8, 6, nullptr, {{6, 5, 1, 1}}, kOutlined},
      {"one pixel, two columns, no width", 5, 3, nullptr, {{0, 0, 1, 1}, {2, 0, 4, 3}, {4, 0, 4, 3}},
       "#g##g\n"
       "gg##g\n"
       "gg##g\n"},
      {"clipped at every edge", 6, 5, nullptr, {{-3, -2, 2, 2}, {4, 3, 9, 9}},
       "r#gggg\n"
       "##gggg\n"
       "gggggg\n"
       "gggg##\n"
       "gggg#r\n"},
      {"clearing: the outline outside", 4, 2, nullptr, {{-1, -1, 5, 3}}, "rrrr\nrrrr\n"},
      {"the whole coordinate range", 4, 2, nullptr, {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}},
       "rrrr\nrrrr\n"},
  };
  for (const auto& c : cases) {
    Canvas canvas(c.width, c.height, kGreen);
    SelectObject(canvas.dc(), red_);
    SelectObject(canvas.dc(), c.pen ? c.pen : GetStockObject(BLACK_PEN));
    for (const RECT& r : c.rects) Rectangle(canvas.dc(), r.left, r.top, r.right, r.bottom);
    EXPECT_EQ(Picture(canvas), c.expected) << c.what;
  }
}

TEST_F(GdiShapesTest, FillRectCoversLeftTopToRightBottomExclusive) {
  Canvas canvas(6, 4);
  RECT rect{1, 1, 4, 3};
  EXPECT_NE(FillRect(canvas.dc(), &rect, red_), 0);
  EXPECT_EQ(Picture(canvas),
            "......\n"
            ".rrr..\n"
            ".rrr..\n"
            "......\n");

  RECT inverted{4, 3, 1, 1};
  RECT beyond{-100, -100, 100, 100};
  FillRect(canvas.dc(), &inverted, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(canvas.pointsOf(kBlack).size(), 0u);
  FillRect(canvas.dc(), &beyond, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(canvas.pointsOf(kBlack).size(), 24u);
  EXPECT_EQ(FillRect(canvas.dc(), &rect, nullptr), 0);
}

}  // namespace
}  // namespace morvex::gdi::test
