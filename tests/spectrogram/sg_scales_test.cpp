#include "spectrogram/sg_scales.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "support/picture.h"

namespace {

using test_support::Picture;

constexpr int kHeight = 220;

// The pixel rows y = H - r of rows r.
std::set<int> PixelRows(std::initializer_list<int> rows) {
  std::set<int> ys;
  for (int r : rows) ys.insert(kHeight - r);
  return ys;
}

SgGeometryRecord Geometry(int rate, int fftsample) {
  static SgGeometryRecord g;
  ComputeSgGeometry(&g, rate, fftsample, kHeight);
  return g;
}

TEST(SgGeometry, RowsOfFrequenciesAndBinsAndDegenerateInputsOnRowZero) {
  static SgGeometryRecord g;  // too large for the stack
  ComputeSgGeometry(&g, 44100, 2048, 220);
  EXPECT_EQ(g.binRow[1], 67);        // trunc(220 * log10(21.533) / log10(22050))
  EXPECT_EQ(LogRow(g, 22050), 219);  // 219.99998: single-precision axis values
  // A minimised window, no source yet, a rate of 2 Hz, a transform larger than the room: all
  // rows 0, no division by zero, no bin beyond the room.
  const struct {
    int32_t rate, fftsample, height, binCount;
  } cases[] = {{44100, 2048, 0, 1024}, {0, 2048, 220, 1024}, {2, 2048, 220, 1024}, {44100, 0, 220, 0},
               {44100, 1 << 20, 220, kSgMaxBins}};
  for (const auto& c : cases) {
    ComputeSgGeometry(&g, c.rate, c.fftsample, c.height);
    EXPECT_EQ(g.binCount, c.binCount);
    if (c.height == 0 || c.rate <= 2) {
      for (int i = 0; i < g.binCount; ++i) ASSERT_EQ(g.binRow[i], 0) << c.rate << " " << i;
      EXPECT_EQ(LogRow(g, 1000), 0);
    }
    EXPECT_EQ(LinearBinOfRow(g, 5), c.height > 0 ? 5 * c.binCount / c.height : 0);
  }
}

TEST(SgScales, TicksLogarithmicDecadesOrEveryKilohertzBelowTheNyquistFrequencyCsAndFftPoints) {
  for (const bool linear : {false, true}) {
    Picture picture(8, kHeight);
    DrawTickMarks(picture.dc(), Geometry(8000, 2048), linear);
    // 10 .. 100 Hz, 100 .. 1000 Hz, 1000 .. 3000 Hz, or trunc(f * 220 / 4000) for 1000 .. 3000 Hz;
    // nothing at 4000 Hz (the Nyquist frequency).
    const auto rows = linear ? PixelRows({55, 110, 165})
                             : PixelRows({61, 79, 90, 97, 103, 108, 112, 116, 119, 122, 140, 151, 158, 164, 169, 173,
                                          177, 180, 183, 201, 212});
    for (int x = 1; x <= 3; ++x) EXPECT_EQ(picture.rowsOf(x, kSgTickColour), rows) << linear << " " << x;
    EXPECT_TRUE(picture.rowsOf(0, kSgTickColour).empty() && picture.rowsOf(4, kSgTickColour).empty());
  }
  Picture picture(8, kHeight);
  const SgGeometryRecord g = Geometry(44100, 16);
  DrawCMarks(picture.dc(), g, 44100);
  DrawFftPointMarks(picture.dc(), g, RGB(254, 254, 254));
  // C from 2.04 Hz up, one per octave below 44100 Hz; the last lies above the picture.
  EXPECT_EQ(picture.rowsOf(5, kSgCMarkColour), PixelRows({15, 30, 46, 61, 76, 91, 107, 122, 137, 152, 168, 183, 198, 213}));
  // Bins 1 .. 7 of a 16-point transform; bin 0 falls on y = H, below the picture.
  EXPECT_EQ(picture.rowsOf(0, RGB(254, 254, 254)), PixelRows({174, 189, 198, 204, 209, 213, 217}));
}

// The labels at the places worked out by hand, against the same texts written there directly.
TEST(SgScales, HzLabelTextsAndPlaces) {
  const struct {
    int rate;
    bool linear;
    std::vector<std::pair<int, const char*>> texts;  // y, text
  } cases[] = {
      // rows 50.65 .. 217.85 plus half the character height
      {44100, false, {{162, "10"}, {111, "100"}, {61, "1k"}, {10, "10k"}, {-5, "20k"}}},
      // the Nyquist frequency of 4000 Hz stops before "10k"
      {8000, false, {{151, "10"}, {90, "100"}, {29, "1k"}}},
      {44100, true, {{163, "5k"}, {113, "10k"}, {63, "15k"}, {13, "20k"}}},
  };
  for (const auto& c : cases) {
    Picture got(40, kHeight), want(40, kHeight);
    (c.linear ? DrawLinearLabels : DrawLogLabels)(got.dc(), Geometry(c.rate, 2048), 16);  // the default font's height
    for (const auto& [y, text] : c.texts) TextOutA(want.dc(), 0, y, text, static_cast<int>(strlen(text)));
    EXPECT_TRUE(got.same(want)) << c.rate << " " << c.linear;
  }
}

TEST(SgScales, StampLeavesThePictureUnderTheBackgroundAndCombinesTheMarks) {
  const COLORREF pictureColour = RGB(10, 200, 30);
  for (int sgcolor : {0, 1}) {
    Picture layer(8, 10, sgcolor == 0 ? test_support::kWhite : test_support::kBlack), picture(8, 10, pictureColour);
    SetPixel(layer.dc(), 2, 4, kSgTickColour);
    StampScaleLayer(picture.dc(), layer.dc(), 10, sgcolor);
    EXPECT_EQ(picture.at(2, 4), sgcolor == 0 ? (pictureColour & kSgTickColour) : (pictureColour | kSgTickColour));
    EXPECT_EQ(picture.count(pictureColour), 8 * 10 - 1) << sgcolor;
  }
}

}  // namespace
