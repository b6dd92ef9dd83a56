#include "spectrogram/sg_column.h"

#include <gtest/gtest.h>

#include <map>

#include "support/picture.h"

namespace {

using test_support::Picture;

constexpr int kHeight = 30, kX = 4;
constexpr COLORREF kBackground = RGB(1, 2, 3);
const int32_t kBins[17] = {9999, 2100, 4100, 500, 600, 700, 800, 5000, 900, 300, 200, 400, 50, 60, 10, 70, 1234};

// 44100 Hz, 32-point transform, 30 rows: bins 1 .. 15 lie at rows
// 21, 23, 24, 25, 26, 27, 27, 27, 28, 28, 28, 29, 29, 29, 29.
const SgGeometryRecord& Geometry() {
  static SgGeometryRecord g;
  ComputeSgGeometry(&g, 44100, 32, kHeight);
  return g;
}

SgPalette Palette() { return {ComputeIntensityScale(65536, 32, 1, 400), 1, 1}; }

// Whether column kX shows the magnitude of each row listed (row -> magnitude), the background in
// the other rows and in the columns either side.
::testing::AssertionResult ColumnShows(const Picture& picture, const std::map<int, int32_t>& rows) {
  for (int y = 0; y < kHeight; ++y) {
    const auto row = rows.find(kHeight - y);
    const COLORREF want = row == rows.end() ? kBackground : IntensityColour(Palette(), row->second);
    if (picture.at(kX, y) != want) return ::testing::AssertionFailure() << "row " << kHeight - y << " differs";
  }
  for (int x : {kX - 1, kX + 1}) {
    if (picture.rowsOf(x, kBackground).size() != kHeight) return ::testing::AssertionFailure() << "x " << x << " changed";
  }
  return ::testing::AssertionSuccess();
}

TEST(SgColumn, LogarithmicRowsSharedRepaintedAndInterpolatedAndLinearRowsUpToTheNyquistBin) {
  // The first bin of a shared row paints it.
  const std::map<int, int32_t> owned = {{21, 2100}, {23, 4100}, {24, 500}, {25, 600},
                                        {26, 700},  {27, 800},  {28, 300}, {29, 50}};
  // Repainting: row 27 by bin 7; row 28 by bins 10 then 11 (the first bin's 300 is not compared).
  std::map<int, int32_t> many = owned;
  many[27] = 5000;
  many[28] = 400;
  many[29] = 70;
  // The ramps: rows 1 .. 20 from 0 towards bin 1 in steps of 2100 / 21, row 22 halfway to bin 2.
  std::map<int, int32_t> ramp{{22, 3100}};
  for (int r = 1; r <= 20; ++r) ramp[r] = 100 * r;
  for (const bool manyDraw : {false, true}) {
    for (const bool interpolate : {false, true}) {
      Picture picture(8, kHeight, kBackground);
      const int32_t handled = DrawLogColumn(picture.dc(), kX, Geometry(), kBins, Palette(), manyDraw, interpolate);
      std::map<int, int32_t> want = manyDraw ? many : owned;
      if (interpolate) want.insert(ramp.begin(), ramp.end());
      EXPECT_TRUE(ColumnShows(picture, want)) << "manyDraw " << manyDraw << " interpolate " << interpolate;
      // The last bin: its value when painted, its raw magnitude when skipped.
      EXPECT_EQ(handled, manyDraw ? IntensityValue(Palette(), 70) : 70);
    }
  }
  // Linear: row r shows bin (r * 16) / 30.
  std::map<int, int32_t> linear;
  for (int r = 1; r <= kHeight; ++r) linear[r] = kBins[r * 16 / kHeight];
  Picture picture(8, kHeight, kBackground);
  EXPECT_EQ(DrawLinearColumn(picture.dc(), kX, Geometry(), kBins, Palette()), IntensityValue(Palette(), 1234));
  EXPECT_TRUE(ColumnShows(picture, linear));
}

}  // namespace
