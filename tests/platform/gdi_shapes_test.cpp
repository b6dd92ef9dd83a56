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

TEST_F(GdiShapesTest, SetPixelStoresRedGreenBlueFromAColorref) {
  Canvas canvas(4, 4);
  EXPECT_EQ(SetPixel(canvas.dc(), 1, 2, RGB(255, 0, 0)), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(1, 2), 0xFFFF0000u);
  SetPixel(canvas.dc(), 2, 2, RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(canvas.at(2, 2), 0xFF123456u);
  EXPECT_EQ(GetPixel(canvas.dc(), 2, 2), RGB(0x12, 0x34, 0x56));
  // The top byte of a colour value is not part of the colour.
  EXPECT_EQ(SetPixel(canvas.dc(), 3, 3, 0x02000000u | RGB(0, 0, 255)), RGB(0, 0, 255));
  EXPECT_EQ(canvas.at(3, 3), 0xFF0000FFu);
}

TEST_F(GdiShapesTest, PixelsOutsideTheSurfaceAreRefusedAndNothingIsWritten) {
  Canvas canvas(4, 4);
  const std::vector<uint32_t> before = canvas.snapshot();
  for (const auto& [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 4}, {INT_MIN, INT_MAX}}) {
    EXPECT_EQ(SetPixel(canvas.dc(), x, y, RGB(0, 0, 0)), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas.dc(), x, y), CLR_INVALID);
  }
  EXPECT_EQ(canvas.snapshot(), before);
}

TEST_F(GdiShapesTest, RectangleOutlinesWithThePenAndFillsInsideRightAndBottomExclusive) {
  Canvas canvas(8, 7);
  SelectObject(canvas.dc(), red_);
  EXPECT_TRUE(Rectangle(canvas.dc(), 1, 1, 6, 5));
  EXPECT_EQ(Picture(canvas),
            "........\n"
            ".#####..\n"
            ".#rrr#..\n"
            ".#rrr#..\n"
            ".#####..\n"
            "........\n"
            "........\n");
  Canvas swapped(8, 7);
  SelectObject(swapped.dc(), red_);
  Rectangle(swapped.dc(), 6, 5, 1, 1);
  EXPECT_EQ(Picture(swapped), Picture(canvas)) << "corners given the other way round";
}

TEST_F(GdiShapesTest, NullPenFillsOnePixelLessAndNullBrushLeavesTheInside) {
  Canvas canvas(8, 7, kGreen);
  SelectObject(canvas.dc(), red_);
  SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  Rectangle(canvas.dc(), 1, 1, 6, 5);
  EXPECT_EQ(Picture(canvas),
            "gggggggg\n"
            "grrrrggg\n"
            "grrrrggg\n"
            "grrrrggg\n"
            "gggggggg\n"
            "gggggggg\n"
            "gggggggg\n");

  Canvas hollow(6, 5, kGreen);
  SelectObject(hollow.dc(), GetStockObject(NULL_BRUSH));
  Rectangle(hollow.dc(), 0, 0, 4, 4);
  EXPECT_EQ(Picture(hollow),
            "####gg\n"
            "#gg#gg\n"
            "#gg#gg\n"
            "####gg\n"
            "gggggg\n");
}

TEST_F(GdiShapesTest, SmallRectangles) {
  Canvas canvas(5, 3);
  Rectangle(canvas.dc(), 0, 0, 1, 1);  // one pixel of outline
  Rectangle(canvas.dc(), 2, 0, 4, 3);  // two columns of outline, nothing inside
  Rectangle(canvas.dc(), 4, 0, 4, 3);  // no width: nothing
  EXPECT_EQ(Picture(canvas),
            "#.##.\n"
            "..##.\n"
            "..##.\n");
}

TEST_F(GdiShapesTest, ClearingRectangleFillsTheWholeSurfaceWithTheOutlineOutside) {
  Canvas canvas(6, 4, kGreen);
  SelectObject(canvas.dc(), red_);
  Rectangle(canvas.dc(), -1, -1, 7, 5);
  EXPECT_EQ(canvas.pointsOf(kRed).size(), 24u);

  Canvas extreme(6, 4, kGreen);
  SelectObject(extreme.dc(), red_);
  SelectObject(extreme.dc(), CreatePen(PS_SOLID, 5, RGB(0, 0, 0)));
  Rectangle(extreme.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_EQ(extreme.pointsOf(kRed).size(), 24u);
  DeleteObject(SelectObject(extreme.dc(), GetStockObject(BLACK_PEN)));
}

TEST_F(GdiShapesTest, RectanglesPartlyOutsideAreClippedAtEveryEdge) {
  Canvas canvas(6, 5, kGreen);
  SelectObject(canvas.dc(), red_);
  Rectangle(canvas.dc(), -3, -2, 2, 2);  // top left corner
  Rectangle(canvas.dc(), 4, 3, 9, 9);    // bottom right corner
  EXPECT_EQ(Picture(canvas),
            "r#gggg\n"
            "##gggg\n"
            "gggggg\n"
            "gggg##\n"
            "gggg#r\n");
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
