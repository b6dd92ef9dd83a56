#include "views/vectorscope_picture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <tuple>
#include <utility>

#include "platform/gdi_test_canvas.h"
#include "shared/spectrum_view_samples.h"

namespace {

using morvex::gdi::test::Canvas;
using morvex::gdi::test::kBlack;
using Points = std::set<std::pair<int, int>>;

constexpr int32_t k16Bit = 65536, kFullScale = 400;
std::atomic<int32_t> left[kViewSampleRoom], right[kViewSampleRoom];

void Put(int32_t i, int32_t l, int32_t r) { left[i] = l, right[i] = r; }

// The black pixels of a picture drawn over black (an old picture the erase must remove).
Points Drawn(int width, int height, const VsScales& scales, int32_t lineMode) {
  Canvas canvas(width, height, kBlack);
  DrawVectorscopePicture(canvas.dc(), scales, left, right, lineMode);
  const auto points = canvas.pointsOf(kBlack);
  return {points.begin(), points.end()};
}

// The extremes of a 16-bit source, in clients of even and odd size: the largest sample lands on
// the last column or the first row, the smallest on the first column or just past the last row.
TEST(VectorscopePicture, ExtremeSamplesLandOnTheClientEdges) {
  const struct {
    int32_t width, height, left, right, x, y;
  } cases[] = {
      {164, 150, 0, 32767, 163, 75},  {165, 151, 0, 32767, 164, 75},  {164, 150, 32767, 0, 82, 0},
      {165, 151, 32767, 0, 82, 0},    {164, 150, 0, -32768, 0, 75},   {165, 151, 0, -32768, 0, 75},
      {164, 150, -32768, 0, 82, 150}, {165, 151, -32768, 0, 82, 150},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " left " << c.left << " right " << c.right);
    const POINT p = VsPoint(ComputeVsScales(c.width, c.height, k16Bit, 2048, 300), c.left, c.right);
    EXPECT_EQ(std::pair(p.x, p.y), std::pair(c.x, c.y));
    // Drawn as the second point of a dot picture, the pixel is there if in the client area.
    Put(0, 0, 0);
    Put(1, c.left, c.right);
    EXPECT_EQ(Drawn(c.width, c.height, ComputeVsScales(c.width, c.height, k16Bit, 2, 300), 0),
              (c.y < c.height ? Points{{c.x, c.y}} : Points{}));
  }
}

TEST(VectorscopePicture, DotsForEveryPointOfTheFrameButTheFirstLinesFromTheFirst) {
  // Half the full scale at 200 in a 200-pixel client: point i at column i % 200, row i / 200.
  for (int32_t i = 0; i < 3000; ++i) Put(i, -2 * (i / 200 - 100), 2 * (i % 200 - 100));
  const VsScales scales = ComputeVsScales(200, 200, kFullScale, 2048, 3000);
  EXPECT_EQ(scales.count, 2048);
  const Points dots = Drawn(200, 200, scales, 0);
  EXPECT_EQ(dots.size(), 2047u);
  EXPECT_FALSE(dots.contains({0, 0}));   // point 0
  EXPECT_TRUE(dots.contains({47, 10}));  // point 2047
  EXPECT_FALSE(dots.contains({48, 10})); // point 2048, past the FFT frame
  EXPECT_EQ(ComputeVsScales(200, 200, kFullScale, 2048, 300).count, 300);
  EXPECT_EQ(ComputeVsScales(200, 200, kFullScale, 32768, 40000).count, kViewSampleRoom);
  // Points (10, 10), (20, 10), (20, 20) and, past the count, (30, 30).
  for (const auto& [i, l, r] : {std::tuple{0, 180, -180}, {1, 180, -160}, {2, 160, -160}, {3, 140, -140}}) Put(i, l, r);
  Points lines;
  for (int i = 10; i < 20; ++i) lines.insert({{i, 10}, {20, i}});
  EXPECT_EQ(Drawn(200, 200, ComputeVsScales(200, 200, kFullScale, 3, 300), 1), lines);
}

TEST(VectorscopePicture, ASourceWithoutFormatOrPointsDrawsOnlyTheErase) {
  Put(0, 32767, 32767);
  Put(1, -32768, -32768);
  for (const int32_t mode : {0, 1}) EXPECT_TRUE(Drawn(50, 40, ComputeVsScales(50, 40, k16Bit, 0, 300), mode).empty());
  EXPECT_EQ(VsPoint(ComputeVsScales(50, 40, 0, 2, 300), 0, 0).x, 25);  // a zero full scale divides by nothing
}

}  // namespace
