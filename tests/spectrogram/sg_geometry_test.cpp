#include "spectrogram/sg_geometry.h"

#include <gtest/gtest.h>

namespace {

SgGeometryRecord geometry;

TEST(SgGeometry, RowsOfFrequenciesAndBinsAndDegenerateInputsOnRowZero) {
  ComputeSgGeometry(&geometry, 44100, 2048, 220);
  EXPECT_EQ(geometry.binRow[1], 67);  // trunc(220 * log10(21.533) / log10(22050))
  EXPECT_EQ(LogRow(geometry, 22050), 219);  // 219.99998: single-precision axis values
  // A minimised window, no source yet, a rate of 2 Hz, a transform larger than the room: all
  // rows 0, no division by zero, no bin beyond the room.
  const struct {
    int32_t rate, fftsample, height, binCount;
  } cases[] = {{44100, 2048, 0, 1024}, {0, 2048, 220, 1024}, {2, 2048, 220, 1024}, {44100, 0, 220, 0},
               {44100, 1 << 20, 220, kSgMaxBins}};
  for (const auto& c : cases) {
    ComputeSgGeometry(&geometry, c.rate, c.fftsample, c.height);
    EXPECT_EQ(geometry.binCount, c.binCount);
    if (c.height == 0 || c.rate <= 2) {
      for (int i = 0; i < geometry.binCount; ++i) ASSERT_EQ(geometry.binRow[i], 0) << c.rate << " " << i;
      EXPECT_EQ(LogRow(geometry, 1000), 0);
    }
    EXPECT_EQ(LinearBinOfRow(geometry, 5), c.height > 0 ? 5 * c.binCount / c.height : 0);
  }
}

}  // namespace
