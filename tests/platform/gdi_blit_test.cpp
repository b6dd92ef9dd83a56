#include <gtest/gtest.h>

#include <climits>
#include <thread>

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
      {false, 1, 1, 4, 3, 2, 2, SRCAND, {1, 1, 5, 4}},
      {false, 0, 0, 7, 6, 0, 0, SRCPAINT, {0, 0, 7, 6}},
      {true, 0, 1, 4, 3, 1, 1, SRCCOPY, {0, 1, 4, 4}},
      {true, 2, 1, 4, 3, 1, 1, SRCCOPY, {2, 1, 6, 4}},
      {true, 1, 2, 4, 3, 1, 1, SRCCOPY, {1, 2, 5, 5}},
      {true, 1, 0, 4, 3, 1, 1, SRCCOPY, {1, 0, 5, 3}},
      {true, 3, 2, 4, 3, 1, 1, SRCCOPY, {3, 2, 7, 5}},
      {true, 0, 0, 4, 3, 1, 2, SRCCOPY, {0, 0, 4, 3}},
      {true, 1, 0, 6, 6, 0, 0, SRCPAINT, {1, 0, 7, 6}},
      {true, 0, 1, 6, 1, 1, 1, SRCPAINT, {0, 1, 6, 2}},
      {false, -2, -2, 7, 6, 0, 0, SRCCOPY, {0, 0, 5, 4}},
      {false, 3, 4, 7, 6, 0, 0, SRCCOPY, {3, 4, 7, 6}},
      {false, 0, 0, 7, 6, 2, -1, SRCCOPY, {0, 1, 5, 6}},
      {false, 0, 0, 7, 6, -3, 1, SRCAND, {3, 0, 7, 5}},
      {false, 7, 0, 2, 2, 0, 0, SRCCOPY, {}},
      {false, 0, -2, 2, 2, 0, 0, SRCCOPY, {}},
      {false, 0, 0, 2, 2, 7, 6, SRCCOPY, {}},
      {false, 0, 0, 0, 2, 0, 0, SRCCOPY, {}},
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

// Opposite transfers between two surfaces at the same time lock in one order and finish, each whole.
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
  EXPECT_EQ(a.pointsOf(a.at(0, 0)).size(), 64u * 64u);
  EXPECT_EQ(b.pointsOf(b.at(0, 0)).size(), 64u * 64u);
}

}  // namespace
}  // namespace morvex::gdi::test
