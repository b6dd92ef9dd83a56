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

// The top byte of a colour value is not part of the colour; pixels outside are refused.
TEST(GdiShapesTest, PixelsStoreRedGreenBlueInsideTheSurfaceOnly) {
  Canvas canvas(4, 4);
  EXPECT_EQ(SetPixel(canvas.dc(), 1, 2, RGB(0x12, 0x34, 0x56)), RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(canvas.at(1, 2), 0xFF123456u);
  EXPECT_EQ(GetPixel(canvas.dc(), 1, 2), RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(SetPixel(canvas.dc(), 3, 3, 0x02000000u | RGB(0, 0, 255)), RGB(0, 0, 255));
  EXPECT_EQ(canvas.at(3, 3), 0xFF0000FFu);
  const std::vector<uint32_t> before = canvas.snapshot();
  for (const auto& [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 4}, {INT_MIN, INT_MAX}}) {
    EXPECT_EQ(SetPixel(canvas.dc(), x, y, RGB(0, 0, 0)), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas.dc(), x, y), CLR_INVALID);
  }
  EXPECT_EQ(canvas.snapshot(), before);
}

// Rectangles outline with the pen and fill with the brush, FillRect only fills; both exclude
// the right and bottom edge. Drawn on green with a red brush.
TEST(GdiShapesTest, RectanglesAndFilledRectanglesLeaveTheirPictures) {
  const char* const kOutlined = "gggggggg\ng#####gg\ng#rrr#gg\ng#rrr#gg\ng#####gg\ngggggggg\n";
  const struct {
    const char* what;
    int width, height;
    HGDIOBJ pen;  // null: FillRect
    std::vector<RECT> rects;
    const char* expected;
  } cases[] = {
      {"null pen: one pixel less of fill", 7, 5, GetStockObject(NULL_PEN), {{1, 1, 6, 5}},
       "ggggggg\ngrrrrgg\ngrrrrgg\ngrrrrgg\nggggggg\n"},
      {"outline and fill", 8, 6, GetStockObject(BLACK_PEN), {{1, 1, 6, 5}}, kOutlined},
      {"corners the other way round", 8, 6, GetStockObject(BLACK_PEN), {{6, 5, 1, 1}}, kOutlined},
      {"one pixel, two columns, no width", 5, 3, GetStockObject(BLACK_PEN), {{0, 0, 1, 1}, {2, 0, 4, 3}, {4, 0, 4, 3}},
       "#g##g\ngg##g\ngg##g\n"},
      {"clipped at every edge", 6, 5, GetStockObject(BLACK_PEN), {{-3, -2, 2, 2}, {4, 3, 9, 9}},
       "r#gggg\n##gggg\ngggggg\ngggg##\ngggg#r\n"},
      {"clearing: the outline outside", 4, 2, GetStockObject(BLACK_PEN), {{-1, -1, 5, 3}}, "rrrr\nrrrr\n"},
      {"the whole coordinate range", 4, 2, GetStockObject(BLACK_PEN), {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}},
       "rrrr\nrrrr\n"},
      {"filled", 6, 4, nullptr, {{1, 1, 4, 3}, {4, 3, 1, 1}}, "gggggg\ngrrrgg\ngrrrgg\ngggggg\n"},
      {"filled beyond", 2, 2, nullptr, {{-100, -100, 100, 100}}, "rr\nrr\n"},
  };
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  for (const auto& c : cases) {
    Canvas canvas(c.width, c.height, kGreen);
    SelectObject(canvas.dc(), red);
    if (c.pen) SelectObject(canvas.dc(), c.pen);
    for (const RECT& r : c.rects) {
      if (c.pen) {
        Rectangle(canvas.dc(), r.left, r.top, r.right, r.bottom);
      } else {
        EXPECT_NE(FillRect(canvas.dc(), &r, red), 0);
      }
    }
    EXPECT_EQ(Picture(canvas), c.expected) << c.what;
  }
  Canvas canvas(2, 2, kGreen);
  RECT all{0, 0, 2, 2};
  EXPECT_EQ(FillRect(canvas.dc(), &all, nullptr), 0);
  EXPECT_EQ(canvas.pointsOf(kGreen).size(), 4u);
  DeleteObject(red);
}

}  // namespace
}  // namespace morvex::gdi::test
