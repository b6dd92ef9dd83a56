#include "analysis/fft_graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fft_graph_picture.h"

namespace {

using fftpicture::kBlack;
using fftpicture::kGrid;
using fftpicture::kWhite;
using fftpicture::Picture;
using fftpicture::SamePicture;

// Text sizes chosen for the tests; the labels are drawn in the surfaces' default font.
FftGraphMetrics Metrics(int32_t lineHeight, int32_t defaultLineHeight, int32_t charWidth) {
  FftGraphMetrics metrics;
  metrics.lineHeight = lineHeight;
  metrics.defaultLineHeight = defaultLineHeight;
  metrics.charWidth = charWidth;
  return metrics;
}

FftGraphFrame Frame(int32_t width, int32_t height, int32_t n, int32_t rate, int32_t fullScale, int32_t magnified) {
  FftGraphFrame frame;
  frame.width = width;
  frame.height = height;
  frame.n = n;
  frame.m = n;
  frame.rate = rate;
  frame.fullScale = fullScale;
  frame.magnified = magnified;
  return frame;
}

void Text(HDC dc, int x, int y, const char* text) { TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text))); }

void Dashes(HDC dc, int x, int baseline) {
  for (int y0 = 0; y0 < baseline; y0 += 8) {
    for (int y = y0; y < y0 + 4; ++y) SetPixel(dc, x, y, kGrid);
  }
}

void AxisRow(HDC dc, int width, int baseline) {
  for (int x = 0; x < width; ++x) SetPixel(dc, x, baseline, kGrid);
}

// The linear picture as the definition draws it, step by step, in its own precision.
void ReferenceLinear(HDC dc, const FftGraphFrame& f, const FftGraphMetrics& m, const int32_t* bins, int rectMs,
                     int blitMs) {
  Rectangle(dc, -1, -1, f.width + 1, f.height + 1);
  char text[64];
  std::snprintf(text, sizeof text, "rect:%d postbitblt%d", rectMs, blitMs);
  Text(dc, 0, m.lineHeight, text);
  const int fs = f.fullScale * f.m / f.magnified;
  const float vpp = static_cast<float>(fs) / static_cast<float>(f.height - m.defaultLineHeight);
  const int baseline = f.height - m.lineHeight;
  const float binsPerPx = static_cast<float>((f.n / 2.0) / f.width);
  const float pxPerHz = 1.0f / ((static_cast<float>(f.rate) / static_cast<float>(f.n)) * binsPerPx);
  for (int hz = 1000; hz < f.rate / 2; hz += 1000) {
    std::snprintf(text, sizeof text, "%dk", hz / 1000);
    const int length = static_cast<int>(std::strlen(text));
    Text(dc, static_cast<int>(static_cast<float>(hz) * pxPerHz - static_cast<float>(length * m.charWidth / 2)),
         baseline, text);
  }
  for (int hz = 500; hz < f.rate / 2; hz += 500) Dashes(dc, static_cast<int>(static_cast<float>(hz) * pxPerHz), baseline);
  AxisRow(dc, f.width, baseline);
  MoveToEx(dc, 0, baseline, nullptr);
  float p = 0.0f;
  for (int x = 0; p < static_cast<float>(f.n / 2); ++x) {
    LineTo(dc, x, baseline - static_cast<int>(static_cast<float>(bins[static_cast<int>(p)]) / vpp));
    p = p + binsPerPx;
  }
}

// The logarithmic axis' quantities as the definition states them.
struct LogReference {
  float nyq, logNyq, xs, xw, binFrac, vpp;
  int baseline, bins;
  std::vector<int> column;

  LogReference(const FftGraphFrame& f, const FftGraphMetrics& m) {
    const int fs = f.fullScale * f.m / f.magnified;
    vpp = static_cast<float>(fs) / static_cast<float>(f.height - m.defaultLineHeight);
    const float binHz = static_cast<float>(f.rate) / static_cast<float>(f.n);
    nyq = static_cast<float>(f.rate / 2);
    logNyq = static_cast<float>(std::log10(static_cast<double>(nyq)));
    const float hzPerPx = static_cast<float>((f.rate / 2.0) / f.width);
    xs = nyq / logNyq / hzPerPx;
    baseline = f.height - m.lineHeight;
    xw = static_cast<float>(f.width) / logNyq;
    binFrac = binHz / nyq;
    bins = f.n / 2;
    column.push_back(INT_MIN);  // log10(0) = −∞
    for (int k = 1; k < bins; ++k) {
      column.push_back(static_cast<int>((std::log10(static_cast<double>(static_cast<float>(k) * binFrac)) + logNyq) * xw));
    }
  }
  int X(int hz) const {
    return static_cast<int>((std::log10(static_cast<double>(static_cast<float>(hz) / nyq)) + logNyq) * xs);
  }
};

// The grid surface of the logarithmic axis as the definition draws it.
void ReferenceLogGrid(HDC grid, const FftGraphFrame& f, const FftGraphMetrics& m, const LogReference& r,
                      bool dashedLines) {
  Rectangle(grid, -1, -1, f.width + 1, f.height + 1);
  char text[16];
  for (int hz = 10; hz < r.nyq && hz <= 10000; hz *= 10) {
    std::snprintf(text, sizeof text, hz <= 100 ? "%d" : "%dk", hz <= 100 ? hz : hz / 1000);
    Text(grid, r.X(hz) - static_cast<int>(std::strlen(text)) * m.charWidth / 2, r.baseline, text);
  }
  for (int hz = 20000; hz < r.nyq; hz += 10000) {
    std::snprintf(text, sizeof text, "%dk", hz / 1000);
    Text(grid, r.X(hz) - static_cast<int>(std::strlen(text)) * m.charWidth / 2, r.baseline, text);
  }
  if (dashedLines) {
    for (int hz = 10; hz <= 100; hz += 10) Dashes(grid, r.X(hz), r.baseline);
    for (int hz = 100; hz <= 1000; hz += 100) Dashes(grid, r.X(hz), r.baseline);
    for (int hz = 1000; hz < r.nyq && hz <= 10000; hz += 1000) Dashes(grid, r.X(hz), r.baseline);
    for (int hz = 10000; hz < r.nyq; hz += 10000) Dashes(grid, r.X(hz), r.baseline);
    AxisRow(grid, f.width, r.baseline);
  }
  for (int k = 0; k < r.bins; ++k) SetPixel(grid, r.column[k], f.height - 1, kBlack);
}

// The curve's walk of one point per pixel column: bin `first`, then the first bin of each column.
template <typename Row>
void ReferenceWalk(HDC dc, const LogReference& r, int first, Row row) {
  for (int k = first; k < r.bins; ++k) {
    if (k == first || r.column[k] != r.column[k - 1]) LineTo(dc, k == 0 ? 0 : r.column[k], row(k));
  }
}

constexpr int kLogWidth = 280;
constexpr int kLogHeight = 215;
constexpr int kLogN = 2048;
constexpr int kFullScale16 = 65536;

class FftGraphTest : public ::testing::Test {
 protected:
  void SetUp() override { bins.assign(kSpectrumRoom, 0); }

  FftSurfaces Surfaces() const { return {window.dc(), back.dc(), grid.dc()}; }

  // The default look: logarithmic axis at 44100 Hz, 2048 points, magnification 20.
  FftGraphFrame LogFrame() const { return Frame(kLogWidth, kLogHeight, kLogN, 44100, kFullScale16, 20); }

  Picture window{kLogWidth, kLogHeight};
  Picture back{kLogWidth, kLogHeight};
  Picture grid{kLogWidth, kLogHeight};
  std::vector<int32_t> bins;
  FftGraphLayout layout;
  FftGraphMetrics metrics = Metrics(12, 20, 8);
};

// ---- Layout -------------------------------------------------------------------------------------

TEST_F(FftGraphTest, AValueOfFullScaleReachesTheWindowHeightLessOneDefaultLine) {
  const FftGraphFrame frame = LogFrame();
  LayoutLogAxis(frame, metrics, &layout);
  EXPECT_EQ(layout.fs, kFullScale16 * kLogN / 20);
  EXPECT_EQ(layout.baseline, kLogHeight - 12);
  EXPECT_EQ(CurveRow(layout, layout.fs), layout.baseline - (kLogHeight - 20));
  EXPECT_EQ(CurveRow(layout, 0), layout.baseline);
}

TEST_F(FftGraphTest, BinColumnsRunFromFarOffTheLeftEdgeToJustBelowTheWidth) {
  LayoutLogAxis(LogFrame(), metrics, &layout);
  ASSERT_EQ(layout.bins, kLogN / 2);
  EXPECT_EQ(BinColumn[0], INT32_MIN);
  EXPECT_EQ(BinColumn[1], 85);  // 21.5 Hz: 280 · log10(21.5) / log10(22050)
  EXPECT_EQ(BinColumn[kLogN / 2 - 1], kLogWidth - 1);
  for (int k = 2; k < layout.bins; ++k) ASSERT_LE(BinColumn[k - 1], BinColumn[k]) << k;
}

TEST_F(FftGraphTest, FrequenciesLieAtTheirDecadesOnTheLogarithmicAxis) {
  LayoutLogAxis(LogFrame(), metrics, &layout);
  // 280 · log10(f) / log10(22050).
  EXPECT_EQ(LogAxisX(layout, 1), 0);
  EXPECT_EQ(LogAxisX(layout, 10), 64);
  EXPECT_EQ(LogAxisX(layout, 100), 128);
  EXPECT_EQ(LogAxisX(layout, 1000), 193);
  EXPECT_EQ(LogAxisX(layout, 10000), 257);
  EXPECT_EQ(LogAxisX(layout, 20000), 277);
}

TEST_F(FftGraphTest, ALevelScaleFinerThanOneValuePerPixelStillStepsByOne) {
  // 8 bits, 64 points, magnification 200: FS = 81 over 195 rows.
  LayoutLevelScale(Frame(280, 215, 64, 44100, 256, 200), metrics, &layout);
  EXPECT_EQ(layout.fs, 81);
  EXPECT_LT(layout.vpp, 1.0f);
  EXPECT_EQ(CurveStep(layout), 1);
  // A window no taller than a line keeps a scale of one row.
  LayoutLevelScale(Frame(280, 10, 2048, 44100, kFullScale16, 20), metrics, &layout);
  EXPECT_EQ(layout.vpp, static_cast<float>(layout.fs));
}

TEST_F(FftGraphTest, TheLevelAxisDropsTwentyPixelsPerFactorOfTen) {
  const int64_t full = static_cast<int64_t>(kFullScale16) * kLogN;
  EXPECT_EQ(LevelAxisRow(static_cast<int32_t>(full / 2), kFullScale16, kLogN, 203), 6);  // 6.02 dB
  const int32_t wideN = 32768;  // fullScale · N is 2^31 here, beyond 32 bits
  EXPECT_EQ(LevelAxisRow(INT32_MAX, kFullScale16, wideN, 203), 0);
  EXPECT_EQ(LevelAxisRow(0, kFullScale16, kLogN, 203), 203);
  for (int decade = 1; decade <= 4; ++decade) {
    const auto value = static_cast<int32_t>(full / static_cast<int64_t>(std::pow(10, decade)));
    EXPECT_EQ(LevelAxisRow(value, kFullScale16, kLogN, 203), 20 * decade) << decade;
  }
}

// ---- Linear axis --------------------------------------------------------------------------------

TEST_F(FftGraphTest, LinearPictureAtHandCheckedPlaces) {
  // 8000 Hz, 64 points on 64 columns: half a bin per column, 1 kHz every 16 columns; 256 values a
  // row (FS 16384 over 64 rows); the baseline at row 88.
  Picture picture(64, 100);
  const FftGraphFrame frame = Frame(64, 100, 64, 8000, 256, 1);
  const FftGraphMetrics m = Metrics(12, 36, 8);
  bins[0] = 256 * 10;
  bins[4] = 256 * 30;
  FftStatistics stats;
  DrawLinearPicture(picture.dc(), frame, m, true, false, bins.data(), &layout, &stats);
  EXPECT_EQ(layout.baseline, 88);
  EXPECT_EQ(picture.at(8, 0), kGrid);   // 500 Hz
  EXPECT_EQ(picture.at(8, 4), kWhite);  // the gap of the dash
  EXPECT_EQ(picture.at(56, 80), kGrid);  // 3500 Hz, last dash above the baseline
  EXPECT_EQ(picture.at(60, 0), kWhite);  // no line at 3750 Hz
  EXPECT_EQ(picture.at(0, 78), kBlack);  // bin 0 at columns 0 and 1, 10 rows up
  EXPECT_EQ(picture.at(1, 78), kBlack);
  EXPECT_EQ(picture.at(8, 58), kBlack);  // bin 4 at columns 8 and 9, 30 rows up
  EXPECT_EQ(picture.at(9, 58), kBlack);
  EXPECT_EQ(picture.at(9, 57), kWhite);
  EXPECT_EQ(picture.at(30, 88), kBlack);  // the curve along the baseline
  EXPECT_EQ(picture.at(63, 88), kGrid);   // the curve's last line stops before its end point
  EXPECT_EQ(picture.at(20, 40), kWhite);
}

TEST_F(FftGraphTest, LinearPictureFollowsTheDefinitionPixelForPixel) {
  const FftGraphFrame frame = LogFrame();
  for (int k = 0; k < kLogN / 2; ++k) bins[k] = (k * 7919) % 300000;
  FftStatistics stats;
  stats.blitMs = 3;
  DrawLinearPicture(back.dc(), frame, metrics, true, true, bins.data(), &layout, &stats);
  Picture reference(kLogWidth, kLogHeight);
  ReferenceLinear(reference.dc(), frame, metrics, bins.data(), stats.rectMs, 3);
  EXPECT_TRUE(SamePicture(back, reference));
}

TEST_F(FftGraphTest, LinearLabelsRunFromOneToTwentyTwoKilohertz) {
  const FftGraphFrame frame = Frame(1100, 215, kLogN, 44100, kFullScale16, 20);
  Picture wide(1100, 215);
  FftStatistics stats;
  DrawLinearPicture(wide.dc(), frame, metrics, true, false, bins.data(), &layout, &stats);
  // 1100 columns for 22050 Hz: f · 1100 / 22050.
  const int baseline = 215 - 12;
  for (int khz : {1, 2, 10, 22}) {
    const std::string text = std::to_string(khz) + "k";
    const fftpicture::TextImage image(text);
    const int x = static_cast<int>(khz * 1000 * 1100 / 22050.0) - static_cast<int>(text.size()) * 8 / 2;
    // Below the axis row, as far as the window shows it.
    const int visible = std::min(image.width(), 1100 - x);
    EXPECT_TRUE(fftpicture::SameBlock(wide.dc(), x, baseline + 1, image.dc(), 0, 1, visible, 10)) << text;
  }
  const fftpicture::TextImage beyond("23k");
  const int x23 = static_cast<int>(23000 * 1100 / 22050.0) - 12;
  EXPECT_FALSE(fftpicture::SameBlock(wide.dc(), x23, baseline + 1, beyond.dc(), 0, 1, beyond.width(), 10));
}

// ---- Logarithmic axis ---------------------------------------------------------------------------

TEST_F(FftGraphTest, LogarithmicLabelsSitAtTheirFrequencies) {
  LayoutLogPicture(Surfaces(), LogFrame(), metrics, FftStrategy::Old, &layout);
  const int baseline = kLogHeight - 12;
  // Each up to where the next one begins (20k, drawn after 10k, covers its end) or the edge.
  const struct {
    const char* text;
    int column;
  } labels[] = {{"10", 64}, {"100", 128}, {"1k", 193}, {"10k", 257}, {"20k", 277}};
  for (size_t i = 0; i < std::size(labels); ++i) {
    const auto& label = labels[i];
    const fftpicture::TextImage image(label.text);
    const auto left = [&](size_t j) { return labels[j].column - static_cast<int>(std::strlen(labels[j].text)) * 8 / 2; };
    const int x = left(i);
    const int visible = std::min(image.width(), (i + 1 < std::size(labels) ? left(i + 1) : kLogWidth) - x);
    // Rows between the axis row and the tick row.
    EXPECT_TRUE(fftpicture::SameBlock(grid.dc(), x, baseline + 1, image.dc(), 0, 1, visible, 10)) << label.text;
  }
}

TEST_F(FftGraphTest, LogarithmicGridFollowsTheDefinitionPixelForPixel) {
  const FftGraphFrame frame = LogFrame();
  LayoutLogPicture(Surfaces(), frame, metrics, FftStrategy::Old, &layout);
  Picture reference(kLogWidth, kLogHeight);
  ReferenceLogGrid(reference.dc(), frame, metrics, LogReference(frame, metrics), true);
  EXPECT_TRUE(SamePicture(grid, reference));
  EXPECT_EQ(grid.at(64, 0), kGrid);          // 10 Hz
  EXPECT_EQ(grid.at(BinColumn[1], kLogHeight - 1), kBlack);  // the tick of bin 1
  EXPECT_EQ(back.count(kWhite), kLogWidth * kLogHeight);     // cleared
}

TEST_F(FftGraphTest, DefaultDrawingStartsAtTheLevelOfBinZeroWithOneVertexPerColumn) {
  const FftGraphFrame frame = LogFrame();
  LayoutLogPicture(Surfaces(), frame, metrics, FftStrategy::Old, &layout);
  // Near 10 kHz several bins share a column: the first of a column is drawn, the others not.
  int first = 470;
  while (BinColumn[first] == BinColumn[first - 1]) ++first;
  const int skipped = first + 1;
  ASSERT_EQ(BinColumn[skipped], BinColumn[first]);
  const int32_t step = CurveStep(layout);
  bins[0] = 40 * step;  // 40 rows up
  bins[1] = 10 * step;
  bins[first] = 100 * step;
  bins[skipped] = 150 * step;
  DrawLogPicture(Surfaces(), layout, FftCurveStyle{}, kFullScale16, kLogN, bins.data());
  const int y0 = layout.baseline - 40;
  // Up the left edge to the level of bin 0, then on to bin 1.
  for (int y = y0; y <= layout.baseline; ++y) ASSERT_EQ(back.at(0, y), kBlack) << y;
  EXPECT_EQ(back.at(1, y0), kBlack);
  EXPECT_EQ(back.at(BinColumn[1] - 1, layout.baseline - 10), kBlack);
  EXPECT_EQ(back.at(BinColumn[first], layout.baseline - 100), kBlack);
  EXPECT_EQ(back.at(BinColumn[first], layout.baseline - 101), kWhite);
  EXPECT_EQ(back.at(BinColumn[first], layout.baseline - 150), kWhite);

  LogReference r(frame, metrics);
  Picture reference(kLogWidth, kLogHeight);
  ReferenceLogGrid(reference.dc(), frame, metrics, r, true);
  MoveToEx(reference.dc(), 0, r.baseline, nullptr);
  ReferenceWalk(reference.dc(), r, 0, [&](int k) { return r.baseline - bins[k] / static_cast<int>(r.vpp); });
  EXPECT_TRUE(SamePicture(back, reference));
  EXPECT_EQ(window.count(kWhite), kLogWidth * kLogHeight);  // the old strategy leaves the window to the transfer
}

TEST_F(FftGraphTest, WithoutTheZeroHertzBinTheWalkStartsAtBinOne) {
  LayoutLogPicture(Surfaces(), LogFrame(), metrics, FftStrategy::Old, &layout);
  const int32_t step = CurveStep(layout);
  bins[0] = 40 * step;
  bins[1] = 10 * step;
  FftCurveStyle style;
  style.draw0Hz = 0;
  DrawLogPicture(Surfaces(), layout, style, kFullScale16, kLogN, bins.data());
  // A line from (0, baseline) up to bin 1; nothing at the level of bin 0.
  EXPECT_EQ(back.at(0, layout.baseline), kBlack);
  EXPECT_EQ(back.at(BinColumn[1] / 2, layout.baseline - 40), kWhite);
  EXPECT_EQ(back.at(BinColumn[1] - 1, layout.baseline - 10), kBlack);
}

TEST_F(FftGraphTest, EveryBinGetsAVertexWithoutOnePointPerColumn) {
  const FftGraphFrame frame = LogFrame();
  LayoutLogPicture(Surfaces(), frame, metrics, FftStrategy::Old, &layout);
  for (int k = 0; k < kLogN / 2; ++k) bins[k] = (k % 7) * 5000;
  FftCurveStyle style;
  style.onePerColumn = 0;
  DrawLogPicture(Surfaces(), layout, style, kFullScale16, kLogN, bins.data());

  LogReference r(frame, metrics);
  Picture reference(kLogWidth, kLogHeight);
  ReferenceLogGrid(reference.dc(), frame, metrics, r, true);
  MoveToEx(reference.dc(), 0, r.baseline, nullptr);
  for (int k = 0; k < r.bins; ++k) {
    LineTo(reference.dc(), k == 0 ? 0 : r.column[k], r.baseline - static_cast<int>(static_cast<float>(bins[k]) / r.vpp));
  }
  EXPECT_TRUE(SamePicture(back, reference));
}

TEST_F(FftGraphTest, LevelAxisDrawsDecibelsFromTheTopEdge) {
  const FftGraphFrame frame = LogFrame();
  LayoutLogPicture(Surfaces(), frame, metrics, FftStrategy::Old, &layout);
  const int64_t full = static_cast<int64_t>(kFullScale16) * kLogN;
  for (int k = 0; k < kLogN / 2; ++k) bins[k] = static_cast<int32_t>(full / 1000);  // 60 dB down
  bins[0] = 0;
  bins[10] = static_cast<int32_t>(full / 10);  // bins 10 and 20 begin their columns
  FftCurveStyle style;
  style.levelAxis = 1;
  DrawLogPicture(Surfaces(), layout, style, kFullScale16, kLogN, bins.data());
  EXPECT_EQ(back.at(BinColumn[10], 20), kBlack);
  EXPECT_EQ(back.at(BinColumn[10], 19), kWhite);
  EXPECT_EQ(back.at(BinColumn[20], 60), kBlack);
  // Bin 0 holds nothing: the walk starts from the baseline.
  EXPECT_EQ(back.at(0, layout.baseline), kBlack);
}

TEST_F(FftGraphTest, TheNewStrategyDrawsOnTheWindowOverTheGrid) {
  const FftGraphFrame frame = LogFrame();
  LayoutLogPicture(Surfaces(), frame, metrics, FftStrategy::New, &layout);
  for (int k = 0; k < kLogN / 2; ++k) bins[k] = (k % 11) * 9000;
  FftCurveStyle style;
  style.strategy = FftStrategy::New;
  DrawLogPicture(Surfaces(), layout, style, kFullScale16, kLogN, bins.data());

  LogReference r(frame, metrics);
  Picture reference(kLogWidth, kLogHeight);
  ReferenceLogGrid(reference.dc(), frame, metrics, r, true);
  MoveToEx(reference.dc(), 0, r.baseline, nullptr);
  ReferenceWalk(reference.dc(), r, 0, [&](int k) { return r.baseline - bins[k] / static_cast<int>(r.vpp); });
  EXPECT_TRUE(SamePicture(window, reference));
  EXPECT_EQ(back.count(kWhite), kLogWidth * kLogHeight);
}

TEST_F(FftGraphTest, TheNewStrategyWithoutLightDrawingComposesOffScreen) {
  LayoutLogPicture(Surfaces(), LogFrame(), metrics, FftStrategy::New, &layout);
  for (int k = 0; k < kLogN / 2; ++k) bins[k] = 30000;
  FftCurveStyle style;
  style.strategy = FftStrategy::New;
  style.light = 0;
  DrawLogPicture(Surfaces(), layout, style, kFullScale16, kLogN, bins.data());
  EXPECT_TRUE(fftpicture::SamePicture(window, grid));  // the grid only
  EXPECT_GT(back.count(kBlack), 0);
}

TEST_F(FftGraphTest, EraseWithLinesRemovesThePreviousCurve) {
  const FftGraphFrame frame = LogFrame();
  for (int32_t& value : PrevCurve) value = 0;
  LayoutLogPicture(Surfaces(), frame, metrics, FftStrategy::EraseWithLines, &layout);
  EXPECT_TRUE(fftpicture::SamePicture(window, grid));  // the grid goes straight to the window
  FftCurveStyle style;
  style.strategy = FftStrategy::EraseWithLines;
  std::vector<int32_t> first(kSpectrumRoom, 0);
  for (int k = 0; k < kLogN / 2; ++k) first[k] = (k % 5) * 40000;
  DrawLogPicture(Surfaces(), layout, style, kFullScale16, kLogN, first.data());
  for (int k = 0; k < kLogN / 2; ++k) bins[k] = (k % 3) * 20000;
  DrawLogPicture(Surfaces(), layout, style, kFullScale16, kLogN, bins.data());

  LogReference r(frame, metrics);
  Picture reference(kLogWidth, kLogHeight);
  ReferenceLogGrid(reference.dc(), frame, metrics, r, false);
  const int s = static_cast<int>(r.vpp);
  auto curve = [&](const std::vector<int32_t>& values, int pen) {
    SelectObject(reference.dc(), GetStockObject(pen));
    MoveToEx(reference.dc(), 0, r.baseline, nullptr);
    ReferenceWalk(reference.dc(), r, 0, [&](int k) { return r.baseline - values[k] / s; });
  };
  std::vector<int32_t> none(kSpectrumRoom, 0);
  curve(none, WHITE_PEN);
  curve(first, BLACK_PEN);
  curve(first, WHITE_PEN);
  curve(bins, BLACK_PEN);
  EXPECT_TRUE(SamePicture(window, reference));
  for (int k = 0; k < kLogN / 2; ++k) ASSERT_EQ(PrevCurve[k], bins[k]);
}

// ---- Statistics and transfer --------------------------------------------------------------------

TEST_F(FftGraphTest, FrameRateIsARunningAverageOfTheLastInterval) {
  FftStatistics stats;
  stats.previousEnd = 100.0f;
  stats.lastEnd = 110.0f;  // 100 frames a second
  WriteFftStatistics(back.dc(), 1, 0, 7, nullptr, &stats);
  EXPECT_EQ(stats.fps, 50);
  const fftpicture::TextImage expected("fps  50  ");
  EXPECT_TRUE(fftpicture::SameBlock(back.dc(), 0, 0, expected.dc(), 0, 0, expected.width(), expected.height()));
  // Two ends within the clock's resolution leave the average as it is.
  stats.previousEnd = stats.lastEnd;
  WriteFftStatistics(back.dc(), 1, 0, 7, nullptr, &stats);
  EXPECT_EQ(stats.fps, 50);
}

TEST_F(FftGraphTest, ThePositionFollowsTheFrameRateWhileTheMainWindowIsHidden) {
  FftStatistics stats;
  stats.previousEnd = 0.0f;
  stats.lastEnd = 5.0f;
  FftPlayPoint point;
  point.bytes = 176400 * 3 + 100;
  point.bytesPerSecond = 176400;
  point.durationSeconds = 12.5f;
  WriteFftStatistics(back.dc(), 1, 0, 0, &point, &stats);
  const fftpicture::TextImage expected("3s/12.50s  ");
  EXPECT_TRUE(fftpicture::SameBlock(back.dc(), 50, 0, expected.dc(), 0, 0, expected.width(), expected.height()));
}

TEST_F(FftGraphTest, TimingLineShowsIntervalTransformTimeAndLatency) {
  FftStatistics stats;
  stats.previousEnd = 10.0f;
  stats.lastEnd = 15.5f;
  stats.timeMs = 0.25f;
  WriteFftStatistics(back.dc(), 0, 1, 12, nullptr, &stats);
  const fftpicture::TextImage expected("interval5.5ms fftcaltime0.2ms fftlatency 12ms(avg) ");
  EXPECT_TRUE(fftpicture::SameBlock(back.dc(), 0, 0, expected.dc(), 0, 0, kLogWidth, expected.height()));
  // Statistics off silences the frame rate line.
  Picture clean(kLogWidth, kLogHeight);
  WriteFftStatistics(clean.dc(), 1, 1, 12, nullptr, &stats);
  EXPECT_EQ(clean.count(kWhite), kLogWidth * kLogHeight);
}

TEST_F(FftGraphTest, TransferCopiesTheWholePictureOrOnlyTheStatisticsArea) {
  SelectObject(back.dc(), GetStockObject(BLACK_BRUSH));
  Rectangle(back.dc(), -1, -1, kLogWidth + 1, kLogHeight + 1);
  FftStatistics stats;
  TransferFftPicture(Surfaces(), kLogWidth, kLogHeight, false, 0, 0, &stats);
  EXPECT_EQ(window.count(kBlack), 40 * 20);
  EXPECT_EQ(window.at(39, 19), kBlack);
  TransferFftPicture(Surfaces(), kLogWidth, kLogHeight, false, 0, 1, &stats);
  EXPECT_EQ(window.count(kBlack), 280 * 20);
  Rectangle(window.dc(), -1, -1, kLogWidth + 1, kLogHeight + 1);
  TransferFftPicture(Surfaces(), kLogWidth, kLogHeight, false, 1, 1, &stats);  // statistics off
  EXPECT_EQ(window.count(kBlack), 0);
  TransferFftPicture(Surfaces(), kLogWidth, kLogHeight, true, 1, 0, &stats);
  EXPECT_EQ(window.count(kBlack), kLogWidth * kLogHeight);
}

}  // namespace
