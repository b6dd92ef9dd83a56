#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/gdi/surface.h"
#include "tests/platform/gdi_test_canvas.h"

namespace morvex::gdi::test {
namespace {

TEST(GdiSurfaceTest, ResizeKeepsTheOverlapAndFillsTheRestAndSizesBelowZeroCountAsZero) {
  Surface empty(-4, 5, 0);
  EXPECT_EQ(empty.width(), 0);
  empty.resize(2, -1, 0);
  EXPECT_EQ(empty.width(), 2);
  EXPECT_EQ(empty.height(), 0);
  Surface surface(3, 2, 1);
  {
    std::lock_guard lock(surface.mutex());
    for (int i = 0; i < 6; ++i) surface.pixels()[i] = 10 + i;
  }
  surface.resize(4, 3, 7);
  ASSERT_EQ(surface.width(), 4);
  ASSERT_EQ(surface.height(), 3);
  const std::vector<uint32_t> expected{10, 11, 12, 7, 13, 14, 15, 7, 7, 7, 7, 7};
  std::lock_guard lock(surface.mutex());
  EXPECT_EQ(std::vector<uint32_t>(surface.pixels(), surface.pixels() + 12), expected);
}

// The listener runs after the call, outside the surface's lock: it can take the lock itself.
TEST(GdiSurfaceTest, ListenerHearsOfEveryChangeOutsideTheLock) {
  Canvas canvas(4, 4);
  int calls = 0;
  bool lockWasFree = true;
  canvas.surface().setChangeListener([&] {
    ++calls;
    if (canvas.surface().mutex().try_lock()) {
      canvas.surface().mutex().unlock();
    } else {
      lockWasFree = false;
    }
  });
  SetPixel(canvas.dc(), 1, 1, RGB(0, 0, 0));
  Rectangle(canvas.dc(), 0, 0, 2, 2);
  MoveToEx(canvas.dc(), 0, 3, nullptr);
  LineTo(canvas.dc(), 3, 3);
  BitBlt(canvas.dc(), 1, 0, 2, 2, canvas.dc(), 0, 0, SRCCOPY);
  TextOutA(canvas.dc(), 0, 0, "a", 1);
  EXPECT_EQ(calls, 5);
  GetPixel(canvas.dc(), 0, 0);
  MoveToEx(canvas.dc(), 1, 1, nullptr);
  EXPECT_EQ(calls, 5);  // reading and moving change nothing
  canvas.surface().resize(5, 5, 0);
  EXPECT_EQ(calls, 6);
  EXPECT_TRUE(lockWasFree);
  canvas.surface().setChangeListener(nullptr);
}

// Two threads fill the whole surface in their own colours while a third inspects it under the
// lock: every drawing call is whole, so the surface is always of one colour.
TEST(GdiSurfaceTest, DrawingCallsFromSeveralThreadsNeverInterleave) {
  Canvas canvas(96, 64, kWhite);
  std::atomic<int> running{2};
  auto painter = [&](COLORREF colour) {
    HDC dc = CreateSurfaceDC(canvas.shared());
    HBRUSH brush = CreateSolidBrush(colour);
    SelectObject(dc, brush);
    for (int i = 0; i < 1500; ++i) Rectangle(dc, -1, -1, 97, 65);
    DeleteDC(dc);
    DeleteObject(brush);
    running.fetch_sub(1);
  };
  std::thread red(painter, RGB(255, 0, 0));
  std::thread blue(painter, RGB(0, 0, 255));
  int torn = 0;
  int looks = 0;
  while (running.load() > 0 || looks == 0) {
    const std::vector<uint32_t> pixels = canvas.snapshot();
    for (uint32_t p : pixels) torn += p != pixels[0];
    ++looks;
  }
  red.join();
  blue.join();
  EXPECT_EQ(torn, 0);
}

// Two threads drawing through one shared context (as the level meter and the paint handler do
// with the off-screen surface): a line may start where the other thread left the position, but
// never from a position mixed from both.
TEST(GdiSurfaceTest, OneContextSharedByTwoThreads) {
  struct Stroke {
    int x0, y0, x1, y1;
  };
  const Stroke strokes[] = {{0, 10, 63, 10}, {5, 40, 60, 40}};
  Canvas canvas(64, 64, kWhite);
  auto draw = [&](const Stroke& s) {
    for (int i = 0; i < 2000; ++i) {
      MoveToEx(canvas.dc(), s.x0, s.y0, nullptr);
      LineTo(canvas.dc(), s.x1, s.y1);
    }
  };
  std::thread a(draw, strokes[0]);
  std::thread b(draw, strokes[1]);
  a.join();
  b.join();
  // A line starts at either thread's start or, when the other thread's whole stroke came in
  // between, at its end.
  const POINT starts[] = {{0, 10}, {5, 40}, {63, 10}, {60, 40}};
  Canvas allowed(64, 64, kWhite);
  for (const POINT& from : starts) {
    for (const Stroke& to : strokes) {
      MoveToEx(allowed.dc(), from.x, from.y, nullptr);
      LineTo(allowed.dc(), to.x1, to.y1);
    }
  }
  const std::vector<uint32_t> drawn = canvas.snapshot();
  const std::vector<uint32_t> possible = allowed.snapshot();
  for (size_t i = 0; i < drawn.size(); ++i) {
    if (drawn[i] == kBlack) {
      EXPECT_EQ(possible[i], kBlack) << "pixel " << i % 64 << "," << i / 64;
    }
  }
  EXPECT_GT(canvas.pointsOf(kBlack).size(), 50u);
}

}  // namespace
}  // namespace morvex::gdi::test
