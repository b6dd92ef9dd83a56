#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "tests/platform/gdi_test_canvas.h"

namespace morvex::gdi::test {
namespace {

constexpr uint32_t kFill = 0xFF5AC3A5u;

// One bit for the column and one for the row: an OR shows every pixel that went into a result.
uint32_t Tag(int x, int y) { return 0xFF000000u | 1u << x | 1u << (y + 12); }

void Tagged(Canvas& canvas) {
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) canvas.set(x, y, Tag(x, y));
  }
}

uint32_t Combine(DWORD rop, uint32_t dest, uint32_t source) {
  return rop == SRCAND ? dest & source : rop == SRCPAINT ? dest | source : source;
}

// Onto a plain destination or onto the tagged source itself (scrolling must behave like memmove,
// an overlapping combine must read each source pixel before overwriting it); clipped at every
// edge of either surface; blocks outside or of no size change nothing.
TEST(GdiBlitTest, RasterOperationsOverlapAndClipping) {
  const struct { bool self; int x, y, w, h, sx, sy; DWORD rop; RECT changed; } cases[] = {
      {false, 1, 1, 4, 3, 2, 2, SRCAND, {1, 1, 5, 4}}, {false, 0, 0, 7, 6, 0, 0, SRCPAINT, {0, 0, 7, 6}},
      {true, 0, 1, 4, 3, 1, 1, SRCCOPY, {0, 1, 4, 4}}, {true, 2, 1, 4, 3, 1, 1, SRCCOPY, {2, 1, 6, 4}},
      {true, 1, 2, 4, 3, 1, 1, SRCCOPY, {1, 2, 5, 5}}, {true, 1, 0, 4, 3, 1, 1, SRCCOPY, {1, 0, 5, 3}},
      {true, 3, 2, 4, 3, 1, 1, SRCCOPY, {3, 2, 7, 5}}, {true, 0, 0, 4, 3, 1, 2, SRCCOPY, {0, 0, 4, 3}},
      {true, 1, 0, 6, 6, 0, 0, SRCPAINT, {1, 0, 7, 6}}, {true, 0, 1, 6, 1, 1, 1, SRCPAINT, {0, 1, 6, 2}},
      {false, -2, -2, 7, 6, 0, 0, SRCCOPY, {0, 0, 5, 4}}, {false, 3, 4, 7, 6, 0, 0, SRCCOPY, {3, 4, 7, 6}},
      {false, 0, 0, 7, 6, 2, -1, SRCCOPY, {0, 1, 5, 6}}, {false, 0, 0, 7, 6, -3, 1, SRCAND, {3, 0, 7, 5}},
      {false, 7, 0, 2, 2, 0, 0, SRCCOPY, {}}, {false, 0, -2, 2, 2, 0, 0, SRCCOPY, {}},
      {false, 0, 0, 2, 2, 7, 6, SRCCOPY, {}}, {false, 0, 0, 0, 2, 0, 0, SRCCOPY, {}},
      {false, 0, 0, -3, -3, 0, 0, SRCCOPY, {}},
      {false, INT_MAX - 1, INT_MAX - 1, INT_MAX, INT_MAX, INT_MIN, INT_MIN, SRCCOPY, {}},
      {false, INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MAX, SRCCOPY, {}},
  };
  Canvas source(7, 6);
  Tagged(source);
  for (const auto& c : cases) {
    Canvas dest(7, 6, kFill);
    if (c.self) Tagged(dest);
    BitBlt(dest.dc(), c.x, c.y, c.w, c.h, c.self ? dest.dc() : source.dc(), c.sx, c.sy, c.rop);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 7; ++x) {
        const uint32_t before = c.self ? Tag(x, y) : kFill;
        const bool inside = x >= c.changed.left && x < c.changed.right && y >= c.changed.top && y < c.changed.bottom;
        EXPECT_EQ(dest.at(x, y), inside ? Combine(c.rop, before, Tag(x + c.sx - c.x, y + c.sy - c.y)) : before)
            << "to " << c.x << "," << c.y << " from " << c.sx << "," << c.sy << " at " << x << "," << y;
      }
    }
  }
  Canvas dest(7, 6, kFill);
  EXPECT_FALSE(BitBlt(dest.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 0x00AA0029));
  EXPECT_FALSE(BitBlt(dest.dc(), 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY));
  EXPECT_EQ(dest.pointsOf(kFill).size(), 42u);
}

// Draws one line with the default black pen on a white canvas and returns its pixels.
Points Line(int x0, int y0, int x1, int y1, int width = 24, int height = 24) {
  Canvas canvas(width, height);
  MoveToEx(canvas.dc(), x0, y0, nullptr);
  EXPECT_TRUE(LineTo(canvas.dc(), x1, y1));
  return canvas.pointsOf(kBlack);
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
  for (const auto& c : cases) EXPECT_EQ(Line(c.x0, c.y0, c.x1, c.y1), c.expected) << c.name;
}

// The position moves to each end, so a polyline is closed by its next segment; the selected pen
// gives the colour and the null pen draws nothing yet still moves the position.
TEST(GdiLineTest, PolylinesContinueFromTheLastEndWithTheSelectedPen) {
  Canvas canvas(8, 6);
  MoveToEx(canvas.dc(), 2, 2, nullptr);
  LineTo(canvas.dc(), 5, 2);
  LineTo(canvas.dc(), 5, 4);
  EXPECT_EQ(canvas.pointsOf(kBlack), Points({{2, 2}, {3, 2}, {4, 2}, {5, 2}, {5, 3}}));
  SelectObject(canvas.dc(), GetStockObject(WHITE_PEN));
  LineTo(canvas.dc(), 2, 4);
  LineTo(canvas.dc(), 2, 1);
  SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  LineTo(canvas.dc(), 7, 1);
  POINT position{};
  MoveToEx(canvas.dc(), 0, 0, &position);
  EXPECT_EQ(position.x, 7);
  EXPECT_EQ(canvas.pointsOf(kBlack), Points({{3, 2}, {4, 2}, {5, 2}, {5, 3}}));
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
      if (x >= 300 && x < 320 && y >= 200 && y < 220) expected.emplace(x - 300, y - 200);
    }
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(Line(e[0], e[1], e[2], e[3], 20, 20), expected) << e[0] << "," << e[1] << " to " << e[2] << "," << e[3];
  }
  Points row, risen, diagonal;
  for (int x = 0; x < 20; ++x) {
    if (x < 10) row.emplace(x, 2);
    risen.emplace(x, 1);  // half a pixel up already at x = -0.5
    if (x > 0) diagonal.emplace(x, x - 1);  // exact y a hair below x - 1
  }
  EXPECT_EQ(Line(INT_MIN, 2, 10, 2, 20, 4), row);
  EXPECT_EQ(Line(INT_MIN, 0, INT_MAX, 1, 20, 3), risen);
  EXPECT_EQ(Line(INT_MIN, INT_MIN, INT_MAX, INT_MAX - 2, 20, 20), diagonal);
  EXPECT_TRUE(Line(INT_MIN, INT_MIN, INT_MIN + 5, INT_MAX, 20, 20).empty());
  EXPECT_TRUE(Line(-50, -1, 50, -1, 20, 20).empty());
  EXPECT_TRUE(Line(30, 0, 30, 19, 20, 20).empty());
}

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

// Rectangles outline with the pen and fill with the brush, FillRect only fills; both exclude
// the right and bottom edge. Drawn on green with a red brush.
TEST(GdiShapesTest, RectanglesFilledRectanglesAndPixelsLeaveTheirPictures) {
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
  DeleteObject(red);
  // Pixels: the top byte of a colour value is not part of the colour; outside ones are refused.
  Canvas canvas(2, 2, kGreen);
  RECT all{0, 0, 2, 2};
  EXPECT_EQ(FillRect(canvas.dc(), &all, nullptr), 0);
  EXPECT_EQ(SetPixel(canvas.dc(), 1, 0, 0x02000000u | RGB(0x12, 0x34, 0x56)), RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(canvas.at(1, 0), 0xFF123456u);
  EXPECT_EQ(GetPixel(canvas.dc(), 1, 0), RGB(0x12, 0x34, 0x56));
  for (const auto& [x, y] : {std::pair{-1, 0}, {0, -1}, {2, 0}, {0, 2}, {INT_MIN, INT_MAX}}) {
    EXPECT_EQ(SetPixel(canvas.dc(), x, y, RGB(0, 0, 0)), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas.dc(), x, y), CLR_INVALID);
  }
  EXPECT_EQ(canvas.pointsOf(kGreen).size(), 3u);
}

// Objects of one kind swap; dead and foreign handles are refused; stock objects survive
// deletion; a selected object deleted early stays usable until deselected.
TEST(GdiObjectsTest, SelectionSwapsObjectsAndRefusesDeadOrForeignHandles) {
  Canvas canvas(4, 4);
  const HDC dc = canvas.dc();
  EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_PEN)), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), GetStockObject(WHITE_PEN));
  EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
  HBRUSH dead = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_TRUE(DeleteObject(dead));
  EXPECT_FALSE(DeleteObject(dead));
  EXPECT_EQ(SelectObject(dc, dead), nullptr);
  int notAnObject = 0;
  EXPECT_EQ(SelectObject(dc, &notAnObject), nullptr);
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_BRUSH)), GetStockObject(WHITE_BRUSH));
  Rectangle(dc, -1, -1, 3, 3);
  EXPECT_EQ(canvas.at(0, 0), kBlack);
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  HGDIOBJ old = SelectObject(dc, green);
  EXPECT_TRUE(DeleteObject(green));
  Rectangle(dc, -1, -1, 5, 5);
  EXPECT_EQ(canvas.at(3, 3), 0xFF00FF00u);
  EXPECT_EQ(SelectObject(dc, old), static_cast<HGDIOBJ>(green));
}

// The off-screen path: a memory context draws into its selected bitmap (new ones are black),
// also after the bitmap was deleted; a window context keeps its window; empty bitmaps take nothing.
TEST(GdiObjectsTest, MemoryContextDrawsIntoItsSelectedBitmap) {
  Canvas window(6, 4, kWhite);
  HDC memory = CreateCompatibleDC(window.dc());
  ASSERT_NE(memory, nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(window.dc(), 6, 4);
  HGDIOBJ original = SelectObject(memory, bitmap);
  ASSERT_NE(original, nullptr);
  EXPECT_NE(original, static_cast<HGDIOBJ>(bitmap));
  EXPECT_EQ(SelectObject(window.dc(), bitmap), nullptr);
  SetPixel(memory, 2, 1, RGB(255, 0, 0));
  BitBlt(window.dc(), 0, 0, 6, 4, memory, 0, 0, SRCCOPY);
  EXPECT_EQ(window.at(2, 1), 0xFFFF0000u);
  EXPECT_EQ(window.pointsOf(kBlack).size(), 23u);
  EXPECT_EQ(SelectObject(memory, original), static_cast<HGDIOBJ>(bitmap));
  EXPECT_TRUE(DeleteObject(bitmap));

  bitmap = CreateCompatibleBitmap(nullptr, 8, 8);
  SelectObject(memory, bitmap);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_TRUE(Rectangle(memory, 0, 0, 8, 8));
  EXPECT_EQ(GetPixel(memory, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(memory, 3, 3), RGB(255, 255, 255));
  EXPECT_TRUE(DeleteDC(memory));

  Canvas untouched(4, 4, kWhite);
  for (const auto& [w, h] : {std::pair{0, 0}, {0, 5}, {5, 0}, {-5, 3}, {-1, -1}}) {
    memory = CreateCompatibleDC(untouched.dc());
    bitmap = CreateCompatibleBitmap(untouched.dc(), w, h);
    ASSERT_NE(bitmap, nullptr);
    SelectObject(memory, bitmap);
    EXPECT_EQ(SetPixel(memory, 0, 0, RGB(0, 0, 0)), CLR_INVALID);
    Rectangle(memory, -1, -1, 10, 10);
    MoveToEx(memory, 0, 0, nullptr);
    LineTo(memory, 10, 10);
    TextOutA(memory, 0, 0, "x", 1);
    BitBlt(untouched.dc(), 0, 0, 4, 4, memory, 0, 0, SRCCOPY);
    BitBlt(memory, 0, 0, 4, 4, untouched.dc(), 0, 0, SRCCOPY);
    DeleteDC(memory);
    DeleteObject(bitmap);
  }
  EXPECT_EQ(untouched.pointsOf(kWhite).size(), 16u);
  EXPECT_EQ(CreateCompatibleBitmap(nullptr, 1 << 20, 1 << 20), nullptr);
}

}  // namespace
}  // namespace morvex::gdi::test
