#include "analysis/fft_graph.h"

#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <tuple>
#include <vector>

#include "support/picture.h"

namespace {

using test_support::kBlack;
using test_support::kWhite;
using test_support::Picture;
using test_support::TextImage;

constexpr COLORREF kGrid = RGB(191, 191, 255);

constexpr int kW = 280, kH = 215, kN = 2048, kFullScale16 = 65536;

// Lh 12, Ls 20, cw 8; the labels are drawn in the surfaces' default font.
constexpr FftGraphMetrics kMetrics{12, 20, 8};

FftGraphFrame Frame(int width, int height, int n, int rate, int fullScale, int magnified) {
  return {width, height, n, n, rate, fullScale, magnified};
}

// Whether `text` is drawn from (x, y) in rows 1 to 10 of its cell, as far as `visible` columns.
::testing::AssertionResult LabelAt(HDC dc, const char* text, int x, int y, int visible = INT_MAX) {
  return TextImage(text).At(dc, x, y, visible, 1, 10);
}

struct Pixel {
  int x, y;
  COLORREF colour;
};
void ExpectPixels(const Picture& picture, std::initializer_list<Pixel> pixels) {
  for (const Pixel& p : pixels) EXPECT_EQ(picture.at(p.x, p.y), p.colour) << p.x << ", " << p.y;
}

class FftGraphTest : public ::testing::Test {
 protected:
  FftSurfaces Surfaces() const { return {window.dc(), back.dc(), grid.dc()}; }
  // The default look: logarithmic axis at 44100 Hz, 2048 points, magnification 20, 280 × 215.
  void LayOut(FftStrategy strategy = FftStrategy::Old) {
    LayoutLogPicture(Surfaces(), Frame(kW, kH, kN, 44100, kFullScale16, 20), kMetrics, strategy, &layout);
  }
  void Draw(const FftCurveStyle& style, const std::vector<int32_t>& values) {
    DrawLogPicture(Surfaces(), layout, style, kFullScale16, kN, values.data());
  }
  Picture window{kW, kH};
  Picture back{kW, kH};
  Picture grid{kW, kH};
  std::vector<int32_t> bins = std::vector<int32_t>(kSpectrumRoom, 0);
  FftGraphLayout layout;
};

TEST_F(FftGraphTest, LevelScaleColumnsAndTheLogarithmicGrid) {
  LayOut();
  EXPECT_EQ(CurveRow(layout, kFullScale16 * kN / 20), layout.baseline - (kH - 20));  // FS reaches H − Ls
  // Columns are 280 · log10(f) / log10(22050); 0 Hz has none.
  EXPECT_EQ(std::tuple(BinColumn[0], BinColumn[1], BinColumn[kN / 2 - 1]), std::tuple(INT32_MIN, 85, kW - 1));
  // A scale finer than one value a pixel still steps by one.
  LayoutLevelScale(Frame(kW, kH, 64, 44100, 256, 200), kMetrics, &layout);  // FS 81 over 195 rows
  EXPECT_LT(layout.vpp, 1.0f);
  EXPECT_EQ(CurveStep(layout), 1);
  LayoutLevelScale(Frame(kW, 10, kN, 44100, kFullScale16, 20), kMetrics, &layout);  // lower than a line
  EXPECT_EQ(layout.vpp, static_cast<float>(layout.fs));
  LayOut();
  const int baseline = kH - 12;
  // Each label up to where the next begins (20k, drawn after 10k, covers its end).
  for (const auto& [label, x, visible] : {std::tuple{"10", 64 - 8, kW}, {"100", 128 - 12, kW}, {"1k", 193 - 8, kW},
                                          {"10k", 257 - 12, 265 - 245}, {"20k", 277 - 12, kW - 265}}) {
    EXPECT_TRUE(LabelAt(grid.dc(), label, x, baseline, visible)) << label;
  }
  ExpectPixels(grid, {{64, 0, kGrid}, {128, 0, kGrid}, {193, 0, kGrid}, {257, 0, kGrid}, {277, 0, kGrid},
                      {65, 0, kWhite}, {100, baseline, kGrid}, {85, kH - 1, kBlack}, {86, kH - 1, kWhite}});
  EXPECT_EQ(back.count(kWhite), kW * kH);    // cleared
  EXPECT_EQ(window.count(kWhite), kW * kH);  // left to the transfer
  // Erase-with-lines has no dashes and no axis row, and shows its grid at once.
  LayOut(FftStrategy::EraseWithLines);
  ExpectPixels(grid, {{64, 0, kWhite}, {100, baseline, kWhite}, {85, kH - 1, kBlack}});
  EXPECT_TRUE(window.same(grid));
}

TEST_F(FftGraphTest, LinearPictureAtHandCheckedPlaces) {
  // 8000 Hz, 64 points on 64 columns: half a bin per column, 1 kHz every 16 columns, 256 values
  // a row (FS 16384 over 100 − 36 rows), the baseline at row 88.
  Picture picture(64, 100);
  bins[0] = 256 * 10;
  bins[4] = 256 * 30;
  FftStatistics stats;
  DrawLinearPicture(picture.dc(), Frame(64, 100, 64, 8000, 256, 1), {12, 36, 8}, true, false, bins.data(), &layout,
                    &stats);
  // Dashes at 500 Hz with their gap and at 3500 Hz, none at 3750; bin 0 in columns 0 and 1, 10 rows
  // up, bin 4 in 8 and 9, 30 up; the curve along the baseline stops before its last point.
  ExpectPixels(picture, {{8, 0, kGrid}, {8, 4, kWhite}, {56, 80, kGrid}, {60, 0, kWhite}, {0, 78, kBlack},
                         {1, 78, kBlack}, {8, 58, kBlack}, {9, 58, kBlack}, {9, 57, kWhite}, {30, 88, kBlack},
                         {63, 88, kGrid}});
  EXPECT_TRUE(LabelAt(picture.dc(), "2k", 32 - 8, 88));
}


TEST_F(FftGraphTest, TheCurveWalkFromBinZeroOrOneWithOneVertexPerColumnOrEachAndTheLevelAxis) {
  LayOut();
  int first = 470;  // a bin that begins a pixel column near 10 kHz, where several bins share each
  while (BinColumn[first] == BinColumn[first - 1]) ++first;
  ASSERT_EQ(BinColumn[first + 1], BinColumn[first]);
  const int32_t step = CurveStep(layout);
  bins[0] = 40 * step;
  bins[1] = 10 * step;
  bins[first] = 100 * step;
  bins[first + 1] = 150 * step;  // shares the column: not drawn
  Draw(FftCurveStyle{}, bins);
  const int y0 = layout.baseline - 40;
  for (int y = y0; y <= layout.baseline; ++y) ASSERT_EQ(back.at(0, y), kBlack) << y;  // up the left edge
  // Then on towards bin 1, and over a copy of the grid.
  ExpectPixels(back, {{1, y0, kBlack},
                      {84, layout.baseline - 10, kBlack},
                      {BinColumn[first], layout.baseline - 100, kBlack},
                      {BinColumn[first], layout.baseline - 101, kWhite},
                      {64, 0, kGrid}});
  EXPECT_EQ(window.count(kWhite), kW * kH);
  // Without one point per column every bin has its vertex.
  FftCurveStyle style;
  style.onePerColumn = 0;
  Draw(style, bins);
  EXPECT_EQ(back.at(BinColumn[first], CurveRow(layout, bins[first + 1])), kBlack);
  // Without the 0 Hz bin the walk goes from the baseline straight to bin 1.
  style.onePerColumn = 1;
  style.draw0Hz = 0;
  Draw(style, bins);
  ExpectPixels(back,
               {{0, layout.baseline, kBlack}, {0, layout.baseline - 40, kWhite}, {84, layout.baseline - 10, kBlack}});
  // The level axis draws decibels from the top edge; an empty bin 0 stays on the baseline.
  const int64_t full = static_cast<int64_t>(kFullScale16) * kN;
  for (int k = 0; k < kN / 2; ++k) bins[k] = k == 0 ? 0 : static_cast<int32_t>(full / 1000);  // 60 dB down
  bins[10] = static_cast<int32_t>(full / 10);  // bins 10 and 20 begin their columns
  style.draw0Hz = style.levelAxis = 1;
  Draw(style, bins);
  ExpectPixels(back, {{BinColumn[10], 20, kBlack}, {BinColumn[10], 19, kWhite}, {BinColumn[20], 60, kBlack},
                      {0, layout.baseline, kBlack}});
}

TEST_F(FftGraphTest, TheNewStrategyDrawsWhatTheOldComposesAndEraseWithLinesLeavesNoTrace) {
  for (int k = 0; k < kN / 2; ++k) bins[k] = (k % 11) * 9000;
  LayOut();
  Draw(FftCurveStyle{}, bins);
  Picture oldPicture(kW, kH);
  BitBlt(oldPicture.dc(), 0, 0, kW, kH, back.dc(), 0, 0, SRCCOPY);
  Rectangle(back.dc(), -1, -1, kW + 1, kH + 1);
  FftCurveStyle style;
  style.strategy = FftStrategy::New;
  Draw(style, bins);
  EXPECT_TRUE(window.same(oldPicture));
  EXPECT_EQ(back.count(kWhite), kW * kH);
  // Without light drawing the curve goes to the back surface, which is not shown.
  Rectangle(window.dc(), -1, -1, kW + 1, kH + 1);
  style.light = 0;
  Draw(style, bins);
  EXPECT_TRUE(window.same(grid));
  EXPECT_GT(back.count(kBlack), kW / 2);
  // Erase-with-lines leaves nothing of the previous curve: `bins` alone, then the same after `previous`.
  std::vector<int32_t> previous(kSpectrumRoom, 0);
  for (int k = 0; k < kN / 2; ++k) previous[k] = (k % 5) * 40000, bins[k] = (k % 3) * 20000;
  style.strategy = FftStrategy::EraseWithLines;
  style.light = 1;
  std::fill(std::begin(PrevCurve), std::end(PrevCurve), 0);
  LayOut(FftStrategy::EraseWithLines);
  Draw(style, bins);
  Picture alone(kW, kH);
  BitBlt(alone.dc(), 0, 0, kW, kH, window.dc(), 0, 0, SRCCOPY);
  std::fill(std::begin(PrevCurve), std::end(PrevCurve), 0);
  LayOut(FftStrategy::EraseWithLines);
  Draw(style, previous);
  Draw(style, bins);
  // No leftovers, and the new curve whole.
  EXPECT_TRUE(window.same(alone));
  EXPECT_GT(alone.count(kBlack), grid.count(kBlack) + kW / 2);
  for (int k = 0; k < kN / 2; ++k) ASSERT_EQ(PrevCurve[k], bins[k]);
}

TEST_F(FftGraphTest, StatisticsLines) {
  FftStatistics stats;
  stats.previousEnd = 100.0f;
  stats.lastEnd = 110.0f;  // 100 frames a second, averaged with 0
  FftPlayPoint point{176400 * 3 + 100, 176400, 12.5f};
  WriteFftStatistics(back.dc(), 1, 0, 7, &point, &stats);
  EXPECT_EQ(stats.fps, 50);
  EXPECT_TRUE(LabelAt(back.dc(), "fps  50  ", 0, 0, 50));  // up to the position
  EXPECT_TRUE(LabelAt(back.dc(), "3s/12.50s  ", 50, 0));
  stats.previousEnd = stats.lastEnd;  // within the clock's resolution: the average stays
  WriteFftStatistics(back.dc(), 1, 0, 7, nullptr, &stats);
  EXPECT_EQ(stats.fps, 50);
  stats.previousEnd = 10.0f;
  stats.lastEnd = 15.5f;
  stats.timeMs = 0.25f;
  WriteFftStatistics(back.dc(), 0, 1, 12, nullptr, &stats);
  EXPECT_TRUE(LabelAt(back.dc(), "interval5.5ms fftcaltime0.2ms fftlatency 12ms(avg) ", 0, 0, kW));
  WriteFftStatistics(grid.dc(), 1, 1, 12, nullptr, &stats);  // off: no frame rate line
  EXPECT_EQ(grid.count(kWhite), kW * kH);
}

}  // namespace
