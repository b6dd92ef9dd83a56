// The raster's drawing calls and text on window-like surfaces.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/gdi/font_metrics.h"
#include "platform/gdi/utf8.h"
#include "tests/platform/gdi_test_canvas.h"

namespace morvex::gdi::test {
namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kGreen = 0xFF00FF00u;
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

// Scrolling onto itself behaves like memmove; combines and copies clip at both surfaces.
TEST(GdiBlitTest, RasterOperationsOverlapAndClipping) {
  const struct { bool self; int x, y, w, h, sx, sy; DWORD rop; RECT changed; } cases[] = {
      {false, 1, 1, 4, 3, 2, 2, SRCAND, {1, 1, 5, 4}}, {false, 0, 0, 7, 6, 0, 0, SRCPAINT, {0, 0, 7, 6}},
      {true, 0, 1, 4, 3, 1, 1, SRCCOPY, {0, 1, 4, 4}}, {true, 2, 1, 4, 3, 1, 1, SRCCOPY, {2, 1, 6, 4}},
      {true, 1, 2, 4, 3, 1, 1, SRCCOPY, {1, 2, 5, 5}}, {true, 1, 0, 4, 3, 1, 1, SRCCOPY, {1, 0, 5, 3}},
      {false, -2, -2, 7, 6, 0, 0, SRCCOPY, {0, 0, 5, 4}}, {false, 3, 4, 7, 6, 0, 0, SRCCOPY, {3, 4, 7, 6}},
      {false, 0, 0, 7, 6, 2, -1, SRCCOPY, {0, 1, 5, 6}}, {false, 0, 0, 7, 6, -3, 1, SRCAND, {3, 0, 7, 5}},
      {false, 7, 0, 2, 2, 0, 0, SRCCOPY, {}}, {false, 0, 0, 2, 2, 7, 6, SRCCOPY, {}},
      {false, 0, 0, 0, 2, 0, 0, SRCCOPY, {}},  {false, 0, 0, -3, -3, 0, 0, SRCCOPY, {}},
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
  EXPECT_EQ(SetPixel(canvas.dc(), 1, 0, 0x02000000u | RGB(0x12, 0x34, 0x56)), RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(canvas.at(1, 0), 0xFF123456u);
  EXPECT_EQ(GetPixel(canvas.dc(), 1, 0), RGB(0x12, 0x34, 0x56));
  for (const auto& [x, y] : {std::pair{-1, 0}, {0, -1}, {2, 0}, {0, 2}, {INT_MIN, INT_MAX}}) {
    EXPECT_EQ(SetPixel(canvas.dc(), x, y, RGB(0, 0, 0)), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas.dc(), x, y), CLR_INVALID);
  }
  EXPECT_EQ(canvas.pointsOf(kGreen).size(), 3u);
}

// Memory contexts draw into their bitmaps, also deleted early; empty ones take nothing.
TEST(GdiObjectsTest, MemoryContextsDrawIntoTheirBitmapsAndBadHandlesAreRefused) {
  Canvas window(6, 4, kWhite);
  HBRUSH dead = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_TRUE(DeleteObject(dead));
  EXPECT_FALSE(DeleteObject(dead));
  EXPECT_EQ(SelectObject(window.dc(), dead), nullptr);
  HDC memory = CreateCompatibleDC(window.dc());
  HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 8, 8);
  ASSERT_NE(SelectObject(memory, bitmap), nullptr);
  EXPECT_TRUE(DeleteObject(bitmap));
  SetPixel(memory, 3, 2, RGB(255, 0, 0));
  BitBlt(window.dc(), 0, 0, 6, 4, memory, 0, 0, SRCCOPY);
  EXPECT_EQ(window.at(3, 2), 0xFFFF0000u);
  EXPECT_EQ(window.pointsOf(kBlack).size(), 23u);
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

// Every drawing call that changes a surface tells its listener once; resize keeps the overlap.
TEST(GdiSurfaceTest, ChangesReachTheListenerAndResizeKeepsTheOverlap) {
  Canvas canvas(3, 2, 1);
  Surface& surface = canvas.surface();
  int calls = 0;
  surface.setChangeListener([&] { ++calls; });
  SetPixel(canvas.dc(), 1, 1, RGB(0, 0, 0));
  Rectangle(canvas.dc(), 0, 0, 2, 2);
  MoveToEx(canvas.dc(), 0, 1, nullptr);
  LineTo(canvas.dc(), 3, 1);
  BitBlt(canvas.dc(), 1, 0, 2, 2, canvas.dc(), 0, 0, SRCCOPY);
  TextOutA(canvas.dc(), 0, 0, "a", 1);
  EXPECT_EQ(calls, 5);
  for (int i = 0; i < 6; ++i) canvas.set(i % 3, i / 3, 10 + i);
  surface.resize(4, 3, 7);
  EXPECT_EQ(calls, 6);
  surface.setChangeListener(nullptr);
  ASSERT_EQ(surface.width() * 10 + surface.height(), 43);
  EXPECT_EQ(canvas.snapshot(), (std::vector<uint32_t>{10, 11, 12, 7, 13, 14, 15, 7, 7, 7, 7, 7}));
  surface.resize(-4, 5, 0);  // no width, five empty rows
  EXPECT_EQ(surface.width() * 10 + surface.height(), 5);
}

// Changed pixels outside every box `canvas` reports changed; takes the boxes, updates `before`.
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

// The FFT graph's cycle with drawing on every side: each copy matches, the boxes hold every change.
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

// The level meter and the paint share one context: a line starts at one thread's position.
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

// The face's tables (2048 units per em, ascent 1802, descent 401, average 1024) at the sizes used.
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
    Canvas canvas(200, 30, kGreen);
    const int width = Width(canvas.dc(), text);
    DrawText(canvas, 5, 7, text);
    int inked = 0;
    for (int y = 0; y < canvas.height(); ++y) {
      for (int x = 0; x < canvas.width(); ++x) {
        const uint32_t p = canvas.at(x, y);
        const bool inCell = x >= 5 && x < 5 + width && y >= 7 && y < 7 + 16;
        EXPECT_TRUE(inCell ? p == 0xFFFF0000u || p == 0xFF0000FFu : p == kGreen) << text << " " << x << "," << y;
        inked += p == 0xFFFF0000u;
      }
    }
    EXPECT_GT(inked, 5 * static_cast<int>(text.size()) / 3) << text;
  }
  const std::string text = "fps  60 あ";
  Canvas reference(120, 40, kGreen);
  DrawText(reference, 30, 12, text);
  for (const auto& [left, top] : {std::pair{-7, -5}, {-30, 0}, {6, 9}, {0, -12}}) {
    Canvas small(16, 8, kGreen);
    DrawText(small, left, top, text);
    for (int y = 0; y < small.height(); ++y) {
      for (int x = 0; x < small.width(); ++x) {
        EXPECT_EQ(small.at(x, y), reference.at(x - left + 30, y - top + 12)) << left << "," << top << " " << x;
      }
    }
  }
}

// Far text draws nothing; each bad UTF-8 byte becomes one replacement character.
TEST(GdiTextTest, FarAndMalformedText) {
  Canvas canvas(10, 10, kGreen);
  EXPECT_TRUE(TextOutA(canvas.dc(), 2000000000, -2000000000, "abc", 3));
  EXPECT_EQ(canvas.pointsOf(kGreen).size(), 100u);
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
    Canvas canvas(300, 40, kGreen);
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
