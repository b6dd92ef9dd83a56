#include <gtest/gtest.h>

#include <climits>
#include <thread>
#include <vector>

#include "tests/platform/gdi_test_canvas.h"

namespace morvex::gdi::test {
namespace {

// A distinct opaque value for every pixel position.
uint32_t Tag(int x, int y) { return 0xFF000000u | static_cast<uint32_t>(y << 8 | x); }

void Tagged(Canvas& canvas) {
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) canvas.set(x, y, Tag(x, y));
  }
}

// dest(x, y) must be source(x + dx, y + dy) inside the given box and untouched outside it.
void ExpectCopied(const Canvas& dest, uint32_t untouched, int left, int top, int right, int bottom, int dx,
                  int dy) {
  for (int y = 0; y < dest.height(); ++y) {
    for (int x = 0; x < dest.width(); ++x) {
      const bool inside = x >= left && x < right && y >= top && y < bottom;
      EXPECT_EQ(dest.at(x, y), inside ? Tag(x + dx, y + dy) : untouched) << x << "," << y;
    }
  }
}

TEST(GdiBlitTest, AndAndOrCombineSourceWithDestination) {
  Canvas layer(3, 1, kWhite);
  layer.set(1, 0, 0xFF3F3FFFu);  // a light blue mark on white
  Canvas picture(3, 1, 0xFF123456u);
  picture.set(2, 0, 0xFF808080u);
  BitBlt(picture.dc(), 0, 0, 3, 1, layer.dc(), 0, 0, SRCAND);
  EXPECT_EQ(picture.at(0, 0), 0xFF123456u);  // white leaves the picture as it was
  EXPECT_EQ(picture.at(1, 0), 0xFF123456u & 0xFF3F3FFFu);
  EXPECT_EQ(picture.at(2, 0), 0xFF808080u);

  Canvas dark(3, 1, kBlack);
  dark.set(1, 0, 0xFFC0C0FFu);
  Canvas colours(3, 1, 0xFF102030u);
  BitBlt(colours.dc(), 0, 0, 3, 1, dark.dc(), 0, 0, SRCPAINT);
  EXPECT_EQ(colours.at(0, 0), 0xFF102030u);  // black leaves the picture as it was
  EXPECT_EQ(colours.at(1, 0), 0xFF102030u | 0xFFC0C0FFu);
}

// The scroll by one pixel to the left must behave like memmove in every direction.
TEST(GdiBlitTest, SurfaceOntoItselfInEveryDirection) {
  const int moves[][2] = {{-1, 0}, {1, 0}, {0, 1}, {0, -1}, {2, 1}, {-1, -2}, {-2, 1}};
  for (const auto& move : moves) {
    Canvas canvas(7, 6);
    Tagged(canvas);
    BitBlt(canvas.dc(), 1 + move[0], 1 + move[1], 4, 3, canvas.dc(), 1, 1, SRCCOPY);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 7; ++x) {
        const bool moved = x >= 1 + move[0] && x < 5 + move[0] && y >= 1 + move[1] && y < 4 + move[1];
        EXPECT_EQ(canvas.at(x, y), moved ? Tag(x - move[0], y - move[1]) : Tag(x, y))
            << "move " << move[0] << "," << move[1] << " at " << x << "," << y;
      }
    }
  }
}

TEST(GdiBlitTest, OverlappingCombineReadsEverySourcePixelBeforeOverwritingIt) {
  // One bit per column: each destination pixel must hold exactly its own and its left
  // neighbour's bit, never a bit that travelled further.
  Canvas canvas(8, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 8; ++x) canvas.set(x, y, 0xFF000000u | (1u << x));
  }
  BitBlt(canvas.dc(), 1, 0, 7, 2, canvas.dc(), 0, 0, SRCPAINT);
  BitBlt(canvas.dc(), 0, 1, 7, 1, canvas.dc(), 1, 1, SRCPAINT);  // and leftwards on row 1
  for (int x = 1; x < 8; ++x) EXPECT_EQ(canvas.at(x, 0), 0xFF000000u | (3u << (x - 1))) << x;
  for (int x = 0; x < 7; ++x)
    EXPECT_EQ(canvas.at(x, 1), 0xFF000000u | (3u << x) | (x ? 1u << (x - 1) : 0u)) << x;
}

TEST(GdiBlitTest, ClippedAtEveryEdgeOfDestinationAndSource) {
  Canvas source(4, 4);
  Tagged(source);
  // Destination and source corners, then the box of the destination that changes.
  const struct { int x, y, sx, sy; DWORD rop; int left, top, right, bottom; } cases[] = {
      {-2, -2, 0, 0, SRCCOPY, 0, 0, 2, 2},  // off the top left
      {2, 3, 0, 0, SRCCOPY, 2, 3, 4, 4},    // off the bottom right
      {0, 0, 2, -1, SRCCOPY, 0, 1, 2, 4},   // source beyond right and top
      {0, 0, -3, 1, SRCAND, 3, 0, 4, 3},    // source beyond left and bottom
  };
  for (const auto& c : cases) {
    Canvas dest(4, 4, kWhite);
    BitBlt(dest.dc(), c.x, c.y, 4, 4, source.dc(), c.sx, c.sy, c.rop);
    ExpectCopied(dest, kWhite, c.left, c.top, c.right, c.bottom, c.sx - c.x, c.sy - c.y);
  }
}

TEST(GdiBlitTest, BlocksWhollyOutsideDegenerateOrRefusedChangeNothing) {
  Canvas source(4, 4, kBlack);
  Canvas dest(4, 4, kWhite);
  BitBlt(dest.dc(), 4, 0, 2, 2, source.dc(), 0, 0, SRCCOPY);
  BitBlt(dest.dc(), 0, -2, 2, 2, source.dc(), 0, 0, SRCCOPY);
  BitBlt(dest.dc(), 0, 0, 2, 2, source.dc(), 4, 4, SRCCOPY);
  BitBlt(dest.dc(), 0, 0, 0, 2, source.dc(), 0, 0, SRCCOPY);
  BitBlt(dest.dc(), 0, 0, -3, -3, source.dc(), 0, 0, SRCCOPY);
  BitBlt(dest.dc(), INT_MAX - 1, INT_MAX - 1, INT_MAX, INT_MAX, source.dc(), INT_MIN, INT_MIN, SRCCOPY);
  BitBlt(dest.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX, source.dc(), INT_MAX, INT_MAX, SRCCOPY);
  EXPECT_FALSE(BitBlt(dest.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 0x00AA0029));
  EXPECT_FALSE(BitBlt(dest.dc(), 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY));
  EXPECT_EQ(dest.pointsOf(kWhite).size(), 16u);
}

// Opposite transfers between two surfaces at the same time lock in one order and finish.
TEST(GdiBlitTest, CrossTransfersFromTwoThreadsDoNotDeadlock) {
  Canvas a(64, 64, kBlack);
  Canvas b(64, 64, kWhite);
  auto transfer = [](HDC dest, HDC source) {
    for (int i = 0; i < 2000; ++i) BitBlt(dest, 0, 0, 64, 64, source, 0, 0, i % 2 ? SRCCOPY : SRCPAINT);
  };
  std::thread one(transfer, a.dc(), b.dc());
  std::thread two(transfer, b.dc(), a.dc());
  one.join();
  two.join();
  // Whatever the interleaving, each surface is uniform: every transfer was whole.
  EXPECT_EQ(a.pointsOf(a.at(0, 0)).size(), 64u * 64u);
  EXPECT_EQ(b.pointsOf(b.at(0, 0)).size(), 64u * 64u);
}

}  // namespace
}  // namespace morvex::gdi::test
