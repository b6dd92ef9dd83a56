#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "tests/platform/gdi_test_canvas.h"

namespace morvex::gdi::test {
namespace {

using Points = std::vector<std::pair<int, int>>;

// Draws one line with the default black pen on a white canvas and returns its pixels, sorted.
Points Line(int x0, int y0, int x1, int y1, int width = 24, int height = 24) {
  Canvas canvas(width, height);
  MoveToEx(canvas.dc(), x0, y0, nullptr);
  EXPECT_TRUE(LineTo(canvas.dc(), x1, y1));
  return canvas.pointsOf(kBlack);
}

Points Sorted(Points points) {
  std::sort(points.begin(), points.end(), [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second < b.second : a.first < b.first;
  });
  return points;
}

// Bresenham without the end point: slopes of 2/5 in every octant (no ties), computed by hand;
// ties take the smaller minor coordinate.
TEST(GdiLineTest, EveryOctantAndEveryTieFollowsBresenhamWithoutTheEndPoint) {
  const struct { const char* name; int x0, y0, x1, y1; Points expected; } cases[] = {
      {"right, down, shallow", 10, 10, 15, 12, {{10, 10}, {11, 10}, {12, 11}, {13, 11}, {14, 12}}},
      {"right, down, steep", 10, 10, 12, 15, {{10, 10}, {10, 11}, {11, 12}, {11, 13}, {12, 14}}},
      {"left, down, steep", 10, 10, 8, 15, {{10, 10}, {10, 11}, {9, 12}, {9, 13}, {8, 14}}},
      {"left, down, shallow", 10, 10, 5, 12, {{10, 10}, {9, 10}, {8, 11}, {7, 11}, {6, 12}}},
      {"left, up, shallow", 10, 10, 5, 8, {{10, 10}, {9, 10}, {8, 9}, {7, 9}, {6, 8}}},
      {"left, up, steep", 10, 10, 8, 5, {{10, 10}, {10, 9}, {9, 8}, {9, 7}, {8, 6}}},
      {"right, up, steep", 10, 10, 12, 5, {{10, 10}, {10, 9}, {11, 8}, {11, 7}, {12, 6}}},
      {"right, up, shallow", 10, 10, 15, 8, {{10, 10}, {11, 10}, {12, 9}, {13, 9}, {14, 8}}},
      {"tie, shallow", 10, 10, 14, 12, {{10, 10}, {11, 10}, {12, 11}, {13, 11}}},
      {"tie, shallow, backwards", 14, 12, 10, 10, {{14, 12}, {13, 11}, {12, 11}, {11, 10}}},
      {"tie, steep", 10, 10, 12, 14, {{10, 10}, {10, 11}, {11, 12}, {11, 13}}},
      {"tie, steep, backwards", 12, 14, 10, 10, {{12, 14}, {11, 13}, {11, 12}, {10, 11}}},
      {"horizontal", 10, 10, 14, 10, {{10, 10}, {11, 10}, {12, 10}, {13, 10}}},
      {"vertical", 10, 10, 10, 6, {{10, 10}, {10, 9}, {10, 8}, {10, 7}}},
      {"anti-diagonal", 10, 10, 7, 13, {{10, 10}, {9, 11}, {8, 12}}},
      {"no length", 10, 10, 10, 10, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Line(c.x0, c.y0, c.x1, c.y1), Sorted(c.expected)) << c.name;
}

// The position moves to each end, so a polyline is closed by its next segment; the selected pen
// gives the colour and the null pen draws nothing yet still moves the position.
TEST(GdiLineTest, PolylinesContinueFromTheLastEndWithTheSelectedPen) {
  Canvas canvas(8, 6);
  MoveToEx(canvas.dc(), 2, 2, nullptr);
  LineTo(canvas.dc(), 5, 2);
  LineTo(canvas.dc(), 5, 4);
  EXPECT_EQ(canvas.pointsOf(kBlack), Sorted({{2, 2}, {3, 2}, {4, 2}, {5, 2}, {5, 3}}));
  SelectObject(canvas.dc(), GetStockObject(WHITE_PEN));
  LineTo(canvas.dc(), 2, 4);
  LineTo(canvas.dc(), 2, 1);
  SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  LineTo(canvas.dc(), 7, 1);
  POINT position{};
  MoveToEx(canvas.dc(), 0, 0, &position);
  EXPECT_EQ(position.x, 7);
  EXPECT_EQ(canvas.pointsOf(kBlack), Sorted({{3, 2}, {4, 2}, {5, 2}, {5, 3}}));
}

// A clipped line covers exactly the pixels of the same line drawn whole on a larger surface,
// also from the far ends of the coordinate range, where the error term needs more than 64 bits.
TEST(GdiLineTest, ClippedLinesKeepTheUnclippedPixels) {
  const int ends[][4] = {{-300, -100, 20, 20}, {25, -7, -40, 30}, {-5, 30, 40, -90}, {19, 3, -200, 11}};
  for (const auto& e : ends) {
    Canvas whole(600, 400);
    MoveToEx(whole.dc(), e[0] + 300, e[1] + 200, nullptr);
    LineTo(whole.dc(), e[2] + 300, e[3] + 200);
    Points expected;
    for (const auto& [x, y] : whole.pointsOf(kBlack)) {
      if (x >= 300 && x < 320 && y >= 200 && y < 220) expected.emplace_back(x - 300, y - 200);
    }
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(Line(e[0], e[1], e[2], e[3], 20, 20), expected) << e[0] << "," << e[1] << " to " << e[2] << "," << e[3];
  }
  Points row, risen, diagonal;
  for (int x = 0; x < 20; ++x) {
    if (x < 10) row.emplace_back(x, 2);
    risen.emplace_back(x, 1);  // half a pixel up already at x = -0.5
    if (x > 0) diagonal.emplace_back(x, x - 1);  // exact y a hair below x - 1
  }
  EXPECT_EQ(Line(INT_MIN, 2, 10, 2, 20, 4), row);
  EXPECT_EQ(Line(INT_MIN, 0, INT_MAX, 1, 20, 3), risen);
  EXPECT_EQ(Line(INT_MIN, INT_MIN, INT_MAX, INT_MAX - 2, 20, 20), Sorted(diagonal));
  EXPECT_TRUE(Line(INT_MIN, INT_MIN, INT_MIN + 5, INT_MAX, 20, 20).empty());
  EXPECT_TRUE(Line(-50, -1, 50, -1, 20, 20).empty());
  EXPECT_TRUE(Line(30, 0, 30, 19, 20, 20).empty());
}

}  // namespace
}  // namespace morvex::gdi::test
