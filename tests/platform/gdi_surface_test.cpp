#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "tests/platform/gdi_test_canvas.h"

namespace morvex::gdi::test {
namespace {

// A distinct pixel for every position.
void Tagged(Canvas& canvas) {
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) canvas.set(x, y, 0xFF000000u | static_cast<uint32_t>(y << 8 | x));
  }
}

// dest holds source's pixels from column `left` on.
void ExpectCopiedExcept(const Canvas& dest, const Canvas& source, int left) {
  for (int y = 0; y < dest.height(); ++y) {
    for (int x = left; x < dest.width(); ++x) EXPECT_EQ(dest.at(x, y), source.at(x, y)) << x << "," << y;
  }
}

bool Covers(const DirtyRegion& region, const Box& box) {
  for (const Box& held : region) {
    if (held.left <= box.left && held.top <= box.top && held.right >= box.right && held.bottom >= box.bottom) return true;
  }
  return false;
}


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

// A picture copied again writes only the rows that differ, and tells the display only about
// those: rows changed since on either side, by any call, are copied again.
TEST(GdiSurfaceTest, RepeatedCopyWritesAndReportsOnlyRowsThatDiffer) {
  Canvas source(6, 5);
  Tagged(source);
  Canvas dest(6, 5, kWhite);
  int notified = 0;
  dest.surface().setChangeListener([&] { ++notified; });
  auto takeDirty = [&] {
    std::lock_guard lock(dest.surface().mutex());
    Box all{0, 0, 0, 0};
    for (const Box& box : dest.surface().dirty()) all = Union(all, box);
    dest.surface().dirty().clear();
    return std::vector<int64_t>{all.left, all.top, all.right, all.bottom};
  };
  BitBlt(dest.dc(), 1, 0, 5, 5, source.dc(), 1, 0, SRCCOPY);
  EXPECT_EQ(takeDirty(), (std::vector<int64_t>{1, 0, 6, 5}));
  BitBlt(dest.dc(), 1, 0, 5, 5, source.dc(), 1, 0, SRCCOPY);
  EXPECT_EQ(takeDirty(), (std::vector<int64_t>{0, 0, 0, 0}));
  EXPECT_EQ(notified, 1);

  SetPixel(source.dc(), 2, 1, RGB(1, 2, 3));
  SetPixel(dest.dc(), 4, 3, RGB(4, 5, 6));
  takeDirty();
  BitBlt(dest.dc(), 1, 0, 5, 5, source.dc(), 1, 0, SRCCOPY);
  EXPECT_EQ(takeDirty(), (std::vector<int64_t>{1, 1, 6, 4}));
  ExpectCopiedExcept(dest, source, 1);
  // Another source, whose own change counts say nothing about this destination.
  Canvas other(6, 5);
  Tagged(other);
  other.set(1, 0, kBlack);
  BitBlt(dest.dc(), 1, 0, 5, 5, other.dc(), 1, 0, SRCCOPY);
  EXPECT_EQ(takeDirty(), (std::vector<int64_t>{1, 0, 6, 2}));  // its mark, and the source's
  ExpectCopiedExcept(dest, other, 1);
}

// Whatever is added stays covered by the few boxes held; touching boxes become one, and when all
// are taken the new box joins the one it grows least.
TEST(GdiDirtyRegionTest, HoldsFewBoxesThatCoverEverythingAdded) {
  DirtyRegion region;
  const Box added[] = {{0, 0, 1, 1},     {1, 0, 2, 1},     {10, 10, 12, 12}, {5, 5, 5, 9},  // empty
                       {30, 0, 31, 100}, {50, 50, 60, 60}, {0, 90, 2, 92},   {11, 13, 12, 14}, {29, 0, 30, 1}};
  for (const Box& box : added) region.add(box);
  int count = 0;
  for (const Box& box : region) {
    ++count;
    EXPECT_FALSE(IsEmpty(box));
  }
  EXPECT_EQ(count, DirtyRegion::kCapacity);
  for (const Box& box : added) EXPECT_TRUE(IsEmpty(box) || Covers(region, box));
  EXPECT_TRUE(Covers(region, {0, 0, 2, 1}));       // the two touching pixels, one box
  EXPECT_FALSE(Covers(region, {0, 0, 12, 12}));    // the far pixel joined nothing at the origin
  EXPECT_TRUE(Covers(region, {29, 0, 31, 100}));   // the last one grew the column beside it
  region.clear();
  EXPECT_TRUE(region.empty());
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
