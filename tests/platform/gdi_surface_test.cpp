#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "tests/platform/gdi_test_canvas.h"

namespace morvex::gdi::test {
namespace {

// Every change reaches the listener after the call, outside the lock (it may take the lock
// itself); a resize keeps the overlap, fills the rest and counts sizes below zero as zero.
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

// One context shared by two threads (the level meter and the paint handler on the off-screen
// surface): a line may start where the other thread left the position, never from a mixed one.
TEST(GdiSurfaceTest, OneContextSharedByTwoThreads) {
  struct Stroke { int x0, y0, x1, y1; };
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
