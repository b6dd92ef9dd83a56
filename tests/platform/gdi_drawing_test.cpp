#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <thread>
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

// Scrolling onto itself behaves like memmove, a combine reads each pixel before overwriting it.
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

// Bresenham without the end point (slopes of 2/5, by hand); ties take the smaller minor coordinate.
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

// Clipping keeps the whole line's pixels, also from the range's ends (errors beyond 64 bits).
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

// Outline with the pen, fill with the brush (FillRect only fills), right and bottom exclusive.
TEST(GdiShapesTest, RectanglesFilledRectanglesAndPixelsLeaveTheirPictures) {
  const struct {
    const char* what;
    int width, height;
    HGDIOBJ pen;  // null: FillRect
    std::vector<RECT> rects;
    const char* expected;
  } cases[] = {
      {"null pen", 7, 5, GetStockObject(NULL_PEN), {{1, 1, 6, 5}}, "ggggggg\ngrrrrgg\ngrrrrgg\ngrrrrgg\nggggggg\n"},
      {"outline and fill", 8, 6, GetStockObject(BLACK_PEN), {{1, 1, 6, 5}},
       "gggggggg\ng#####gg\ng#rrr#gg\ng#rrr#gg\ng#####gg\ngggggggg\n"},
      {"clearing: the outline outside", 4, 2, GetStockObject(BLACK_PEN), {{-1, -1, 5, 3}}, "rrrr\nrrrr\n"},
      {"whole range", 4, 2, GetStockObject(BLACK_PEN), {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}}, "rrrr\nrrrr\n"},
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

// Memory contexts draw into their bitmaps (new ones black), also deleted early; empty ones take
// nothing. Dead handles are refused, stock objects survive deletion.
TEST(GdiObjectsTest, MemoryContextsDrawIntoTheirBitmapsAndBadHandlesAreRefused) {
  Canvas window(6, 4, kWhite);
  HBRUSH dead = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_TRUE(DeleteObject(dead));
  EXPECT_FALSE(DeleteObject(dead));
  EXPECT_EQ(SelectObject(window.dc(), dead), nullptr);
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(SelectObject(window.dc(), GetStockObject(BLACK_BRUSH)), GetStockObject(WHITE_BRUSH));
  HDC memory = CreateCompatibleDC(window.dc());
  HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 8, 8);
  ASSERT_NE(SelectObject(memory, bitmap), nullptr);
  EXPECT_TRUE(DeleteObject(bitmap));
  SetPixel(memory, 3, 2, RGB(255, 0, 0));
  BitBlt(window.dc(), 0, 0, 6, 4, memory, 0, 0, SRCCOPY);
  EXPECT_EQ(window.at(3, 2), 0xFFFF0000u);
  EXPECT_EQ(window.pointsOf(kBlack).size(), 23u);
  EXPECT_TRUE(Rectangle(memory, 0, 0, 8, 8));  // the black pen round the window's white brush
  EXPECT_EQ(GetPixel(memory, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(memory, 3, 3), RGB(255, 255, 255));
  EXPECT_TRUE(DeleteDC(memory));
  for (const auto& [w, h] : {std::pair{0, 0}, {0, 5}, {5, 0}, {-5, 3}, {-1, -1}}) {
    memory = CreateCompatibleDC(window.dc());
    bitmap = CreateCompatibleBitmap(window.dc(), w, h);
    ASSERT_NE(bitmap, nullptr);
    SelectObject(memory, bitmap);
    EXPECT_EQ(SetPixel(memory, 0, 0, RGB(0, 0, 0)), CLR_INVALID);
    Rectangle(memory, -1, -1, 10, 10);
    MoveToEx(memory, 0, 0, nullptr);
    LineTo(memory, 10, 10);
    TextOutA(memory, 0, 0, "x", 1);
    BitBlt(window.dc(), 0, 0, 6, 4, memory, 0, 0, SRCCOPY);
    BitBlt(memory, 0, 0, 4, 4, window.dc(), 0, 0, SRCCOPY);
    DeleteDC(memory);
    DeleteObject(bitmap);
  }
  EXPECT_EQ(window.pointsOf(kBlack).size(), 23u) << "the empty bitmaps changed nothing";
  EXPECT_EQ(CreateCompatibleBitmap(nullptr, 1 << 20, 1 << 20), nullptr);
}

// The listener runs outside the lock, after every change; resize keeps the overlap.
TEST(GdiSurfaceTest, ChangesReachTheListenerOutsideTheLockAndResizeKeepsTheOverlap) {
  Canvas canvas(3, 2, 1);
  Surface& surface = canvas.surface();
  int calls = 0;
  bool lockWasFree = true;
  surface.setChangeListener([&] {
    ++calls;
    lockWasFree = lockWasFree && surface.mutex().try_lock();
    if (lockWasFree) surface.mutex().unlock();
  });
  SetPixel(canvas.dc(), 1, 1, RGB(0, 0, 0));
  Rectangle(canvas.dc(), 0, 0, 2, 2);
  MoveToEx(canvas.dc(), 0, 1, nullptr);
  LineTo(canvas.dc(), 3, 1);
  BitBlt(canvas.dc(), 1, 0, 2, 2, canvas.dc(), 0, 0, SRCCOPY);
  TextOutA(canvas.dc(), 0, 0, "a", 1);
  GetPixel(canvas.dc(), 0, 0);
  MoveToEx(canvas.dc(), 1, 1, nullptr);
  EXPECT_EQ(calls, 5);  // reading and moving change nothing
  for (int i = 0; i < 6; ++i) canvas.set(i % 3, i / 3, 10 + i);
  surface.resize(4, 3, 7);
  EXPECT_EQ(calls, 6);
  EXPECT_TRUE(lockWasFree);
  surface.setChangeListener(nullptr);
  ASSERT_EQ(surface.width() * 10 + surface.height(), 43);
  EXPECT_EQ(canvas.snapshot(), (std::vector<uint32_t>{10, 11, 12, 7, 13, 14, 15, 7, 7, 7, 7, 7}));
  surface.resize(-4, 5, 0);  // no width, five empty rows
  EXPECT_EQ(surface.width() * 10 + surface.height(), 5);
}

// Pixels of `canvas` that differ from `before` outside every box it reports changed; takes the
// boxes, and `before` becomes what it shows now.
int Unreported(const Canvas& canvas, std::vector<uint32_t>& before) {
  const std::vector<uint32_t> now = canvas.snapshot();
  std::lock_guard lock(canvas.surface().mutex());
  int missed = 0;
  for (size_t i = 0; i < now.size(); ++i) {
    const int64_t x = static_cast<int64_t>(i) % canvas.width(), y = static_cast<int64_t>(i) / canvas.width();
    bool reported = false;
    for (const Box& b : canvas.surface().dirty()) reported |= x >= b.left && x < b.right && y >= b.top && y < b.bottom;
    missed += now[i] != before[i] && !reported;
  }
  canvas.surface().dirty().clear();
  before = now;
  return missed;
}

// The FFT graph's cycle and more: a grid copied under a picture, drawing on either side, the
// picture copied to a window at an offset, other copies between. Each repeated copy looks only at
// the columns changed since its own last time, so after every copy its rectangle must match, and
// the few boxes the window reports changed must hold every pixel that changed.
TEST(GdiSurfaceTest, RepeatedCopiesAmongDrawingOnEverySideMatchTheirSource) {
  Canvas grid(70, 40), back(70, 40), window(66, 37), other(70, 40, kBlack);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 70; ++x) grid.set(x, y, 0xFF000000u | static_cast<uint32_t>(x * 41 + y * 7));
  }
  uint32_t seed = 12345;
  auto next = [&seed](int range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<uint32_t>(range));
  };
  auto scribble = [&](const Canvas& canvas) {
    for (int i = next(4); i > 0; --i) {
      MoveToEx(canvas.dc(), next(80) - 5, next(50) - 5, nullptr);
      LineTo(canvas.dc(), next(80) - 5, next(50) - 5);
    }
    if (next(3) == 0) SetPixel(canvas.dc(), next(70), next(40), RGB(next(256), 0, 9));
  };
  auto expectSame = [](const Canvas& dest, int dx, int dy, const Canvas& source, int sx, int sy, int w, int h) {
    int differing = 0;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) differing += dest.at(dx + x, dy + y) != source.at(sx + x, sy + y);
    }
    return differing;
  };
  std::vector<uint32_t> shown = window.snapshot();
  for (int cycle = 0; cycle < 300; ++cycle) {
    if (next(10) == 0) scribble(grid);
    BitBlt(back.dc(), 0, 0, 70, 40, grid.dc(), 0, 0, SRCCOPY);
    ASSERT_EQ(expectSame(back, 0, 0, grid, 0, 0, 70, 40), 0) << cycle;
    // A clear as the views make it (outline outside): marks only what was not white.
    if (next(4) == 0) Rectangle(back.dc(), -1, -1, 71, 41);
    scribble(back);
    for (int i = next(7); i > 0; --i) SetPixel(window.dc(), next(66), next(37), RGB(0, next(256), 0));  // scattered
    if (next(15) == 0) BitBlt(back.dc(), next(70), next(40), 9, 9, other.dc(), 0, 0, SRCCOPY);
    if (next(20) == 0) BitBlt(window.dc(), 0, 0, 20, 20, other.dc(), 0, 0, SRCCOPY);
    BitBlt(window.dc(), 1, 2, 65, 35, back.dc(), 3, 1, SRCCOPY);
    ASSERT_EQ(expectSame(window, 1, 2, back, 3, 1, 65, 35), 0) << cycle;
    ASSERT_EQ(Unreported(window, shown), 0) << cycle;
  }
  // A copy again writes and reports only what differs; a clear only what was not white.
  auto takeDirty = [](const Canvas& canvas) {
    std::lock_guard lock(canvas.surface().mutex());
    Box all{0, 0, 0, 0};
    for (const Box& box : canvas.surface().dirty()) all = Union(all, box);
    canvas.surface().dirty().clear();
    return std::vector<int64_t>{all.left, all.top, all.right, all.bottom};
  };
  Rectangle(back.dc(), -1, -1, 71, 41);
  SetPixel(back.dc(), 30, 20, RGB(0, 0, 0));
  SetPixel(back.dc(), 33, 22, RGB(0, 0, 0));
  BitBlt(window.dc(), 1, 2, 65, 35, back.dc(), 3, 1, SRCCOPY);
  takeDirty(back);
  takeDirty(window);
  BitBlt(window.dc(), 1, 2, 65, 35, back.dc(), 3, 1, SRCCOPY);
  EXPECT_EQ(takeDirty(window), (std::vector<int64_t>{0, 0, 0, 0}));
  Rectangle(back.dc(), -1, -1, 71, 41);
  EXPECT_EQ(takeDirty(back), (std::vector<int64_t>{30, 20, 34, 23}));
  BitBlt(window.dc(), 1, 2, 65, 35, back.dc(), 3, 1, SRCCOPY);
  EXPECT_EQ(takeDirty(window), (std::vector<int64_t>{28, 21, 32, 24}));
}

// The level meter and the paint handler share one context: a line starts at either thread's
// position, never a mixed one.
TEST(GdiSurfaceTest, TwoThreadsDrawingLinesOnOneContext) {
  struct Stroke { int x0, y0, x1, y1; };
  const Stroke strokes[] = {{0, 10, 63, 10}, {5, 40, 60, 40}};
  Canvas canvas(64, 64, kWhite);
  auto draw = [&](const Stroke& s) {
    for (int i = 0; i < 2000; ++i) {
      MoveToEx(canvas.dc(), s.x0, s.y0, nullptr);
      LineTo(canvas.dc(), s.x1, s.y1);
    }
  };
  std::thread first(draw, strokes[0]);
  std::thread second(draw, strokes[1]);
  first.join();
  second.join();
  // A line starts at either thread's start or at the end of the other's whole stroke.
  const POINT starts[] = {{0, 10}, {5, 40}, {63, 10}, {60, 40}};
  Canvas allowed(64, 64, kWhite);
  for (const POINT& from : starts) {
    for (const Stroke& to : strokes) {
      MoveToEx(allowed.dc(), from.x, from.y, nullptr);
      LineTo(allowed.dc(), to.x1, to.y1);
    }
  }
  for (const auto& [x, y] : canvas.pointsOf(kBlack)) EXPECT_EQ(allowed.at(x, y), kBlack) << x << "," << y;
  EXPECT_GT(canvas.pointsOf(kBlack).size(), 50u);
}

}  // namespace
}  // namespace morvex::gdi::test
