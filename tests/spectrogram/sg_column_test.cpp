#include "spectrogram/sg_column.h"

#include <gtest/gtest.h>

#include <map>

#include "support/picture.h"

namespace {

using test_support::Picture;

constexpr int kHeight = 30;
constexpr COLORREF kBackground = RGB(1, 2, 3);
constexpr int kX = 4;

// 44100 Hz, 32-point transform, 30 rows: bins 1 .. 15 lie at rows
// 21, 23, 24, 25, 26, 27, 27, 27, 28, 28, 28, 29, 29, 29, 29.
const SgGeometryRecord& Geometry() {
  static SgGeometryRecord g;
  ComputeSgGeometry(&g, 44100, 32, kHeight);
  return g;
}

const int32_t kBins[17] = {9999, 2100, 4100, 500, 600, 700, 800, 5000, 900, 300, 200, 400, 50, 60, 10, 70, 1234};

SgPalette Palette() { return {ComputeIntensityScale(65536, 32, 1, 400), 1, 1}; }

// The magnitude each row must show (row -> magnitude); rows not listed keep the background.
using RowMagnitudes = std::map<int, int32_t>;

::testing::AssertionResult ColumnShows(const Picture& picture, const RowMagnitudes& rows) {
  for (int y = 0; y < kHeight; ++y) {
    const auto row = rows.find(kHeight - y);
    const COLORREF want = row == rows.end() ? kBackground : IntensityColour(Palette(), row->second);
    if (picture.at(kX, y) != want) {
      return ::testing::AssertionFailure() << "row " << kHeight - y << " is " << std::hex << picture.at(kX, y)
                                           << ", expected " << want;
    }
  }
  for (int x : {kX - 1, kX + 1}) {
    if (picture.rowsOf(x, kBackground).size() != kHeight) return ::testing::AssertionFailure() << "x " << x << " changed";
  }
  return ::testing::AssertionSuccess();
}

TEST(SgLogColumn, SharedRowsAndInterpolation) {
  // The first bin of a shared row paints it.
  const RowMagnitudes owned = {{21, 2100}, {23, 4100}, {24, 500}, {25, 600}, {26, 700}, {27, 800}, {28, 300}, {29, 50}};
  // Repainting: row 27 by bin 7; row 28 by bins 10 then 11 (the first bin's 300 is not compared).
  RowMagnitudes many = owned;
  many[27] = 5000;
  many[28] = 400;
  many[29] = 70;
  // The ramps: rows 1 .. 20 from 0 towards bin 1 in steps of 2100 / 21, row 22 halfway to bin 2.
  RowMagnitudes ramp;
  for (int r = 1; r <= 20; ++r) ramp[r] = 100 * r;
  ramp[22] = 3100;
  struct Case {
    bool manyDraw, interpolate;
    int32_t handled;  // the last bin: its value when painted, its raw magnitude when skipped
  };
  const Case cases[] = {{false, false, 70}, {true, false, IntensityValue(Palette(), 70)}, {false, true, 70},
                        {true, true, IntensityValue(Palette(), 70)}};
  for (const Case& c : cases) {
    Picture picture(8, kHeight, kBackground);
    const int32_t handled = DrawLogColumn(picture.dc(), kX, Geometry(), kBins, Palette(), c.manyDraw, c.interpolate);
    RowMagnitudes want = c.manyDraw ? many : owned;
    if (c.interpolate) want.insert(ramp.begin(), ramp.end());
    EXPECT_TRUE(ColumnShows(picture, want)) << "manyDraw " << c.manyDraw << " interpolate " << c.interpolate;
    EXPECT_EQ(handled, c.handled);
  }
}

TEST(SgLinearColumn, EveryRowShowsItsBinUpToTheNyquistBin) {
  // Row r shows bin (r * 16) / 30.
  const int bins[kHeight] = {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14, 15, 16};
  RowMagnitudes want;
  for (int r = 1; r <= kHeight; ++r) want[r] = kBins[bins[r - 1]];
  Picture picture(8, kHeight, kBackground);
  EXPECT_EQ(DrawLinearColumn(picture.dc(), kX, Geometry(), kBins, Palette()), IntensityValue(Palette(), 1234));
  EXPECT_TRUE(ColumnShows(picture, want));
}

}  // namespace
