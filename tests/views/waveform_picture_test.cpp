#include "views/waveform_picture.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/gdi_test_canvas.h"
#include "shared/spectrum_view_samples.h"

namespace {

using morvex::gdi::test::Canvas;
using morvex::gdi::test::kBlack;
using morvex::gdi::test::kWhite;

constexpr int32_t kHeight = 160;

WavScales Scales(int32_t width, int32_t bits) { return ComputeWavScales(WavScales{}, width, kHeight, bits, 2048); }

// The rows of the black pixels of column `x`.
std::vector<int> RowsOf(const Canvas& canvas, int x) {
  std::vector<int> rows;
  for (int y = 0; y < canvas.height(); ++y) {
    if (canvas.at(x, y) == kBlack) rows.push_back(y);
  }
  return rows;
}

TEST(WaveformPicture, SampleHeightsFollowTheSampleSize) {
  for (const auto& [bits, sample, row] : {std::tuple{16, 32767, 1}, {16, -32768, 160}, {16, 0, 80}, {16, 410, 79},
                                          {8, 127, 1}, {8, -128, 160}, {8, 0, 80}, {8, 3, 79}}) {
    EXPECT_EQ(WavRow(Scales(320, bits), sample), row) << bits << " " << sample;
  }
  // Other sample sizes keep the scale they had.
  EXPECT_EQ(ComputeWavScales(Scales(320, 8), 320, kHeight, 24, 2048).scale, Scales(320, 8).scale);
  EXPECT_EQ(Scales(320, 24).scale, 1.0f);
}

// Rows that rise by at most one per column, so that each column shows one pixel: the sample it
// starts its line from. Samples that must not be drawn sit on row 150; 410 is one row at 16 bits.
TEST(WaveformPicture, OneSamplePerColumnFromTheFrameStartOrEveryStepthSampleSqueezed) {
  const struct {
    int32_t width, squeezed, spacing;  // the samples drawn lie `spacing` apart
    int lastLine;     // the column where the last line ends: empty
    int eraseBorder;  // a column that holds the erase rectangle's border
  } cases[] = {{320, 0, 1, 319, -1}, {300, 1, 6, 341, 300}};  // squeezed: samples 0, 6, ... 2040
  for (const auto& c : cases) {
    std::vector<int32_t> samples(2048, -(150 - 80) * 410);
    for (int32_t j = 0; j < 2048; j += c.spacing) samples[j] = -(20 + j / c.spacing / 4 - 80) * 410;
    const WavScales scales = Scales(c.width, 16);
    EXPECT_EQ(scales.step, 6) << "2048 samples over " << c.width << " columns";
    Canvas canvas(c.lastLine + 1, kHeight, c.squeezed ? kWhite : kBlack);  // an old picture to erase
    DrawWaveformPicture(canvas.dc(), scales, samples.data(), 2048, c.squeezed);
    for (int x = 0; x < c.lastLine; ++x) {
      if (x != c.eraseBorder) {
        ASSERT_EQ(RowsOf(canvas, x), std::vector<int>{20 + x / 4}) << c.width << " column " << x;
      }
    }
    EXPECT_TRUE(RowsOf(canvas, c.lastLine).empty());
  }
}

TEST(WaveformPicture, WindowsWithoutWidthOrWiderThanTheFrameStaySafe) {
  std::vector<int32_t> samples(kViewSampleRoom, 0);
  // A minimized window: no step, nothing drawn.
  const WavScales minimized = Scales(0, 16);
  EXPECT_EQ(minimized.step, 0);
  Canvas untouched(10, kHeight, kBlack);
  for (const int32_t squeezed : {0, 1}) DrawWaveformPicture(untouched.dc(), minimized, samples.data(), 2048, squeezed);
  EXPECT_TRUE(untouched.pointsOf(kWhite).empty());
  // Wider than the squeezed frame: one sample per column up to the frame's end.
  const WavScales wide = Scales(3000, 16);
  EXPECT_EQ(wide.step, 1);
  Canvas canvas(3000, kHeight);
  DrawWaveformPicture(canvas.dc(), wide, samples.data(), 2048, 1);
  EXPECT_EQ(RowsOf(canvas, 2046), std::vector<int>{80});
  EXPECT_TRUE(RowsOf(canvas, 2047).empty());
  // Wider than the views hold: the copy stops at their end.
  EXPECT_EQ(WavSampleCount(Scales(40000, 16), 2048, 0), kViewSampleRoom);
}

}  // namespace
