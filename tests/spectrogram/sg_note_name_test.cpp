#include "spectrogram/sg_note_name.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "spectrogram/sg_readouts.h"

namespace {

TEST(SgReadouts, NoteNamesFrequenciesAtRowsPeaksAndColumnRate) {
  // 100 Hz: index 10.35 gives G; 27 Hz: index 11.68 wraps to A; 880 Hz: index 12 is A.
  for (const auto& [hz, name] : {std::pair{440, "A"}, {466, "Bb"}, {262, "C"}, {100, "G"}, {1000, "B"}, {27, "A"},
                                 {880, "A"}, {0, "A"}, {-5, "A"}, {1, "C"}, {554, "Db"}, {659, "E"}, {430, "A"},
                                 {2147483647, "C"}}) {
    EXPECT_STREQ(NoteName(hz), name) << hz;
  }
  // Bottom edge 1 Hz, the geometric middle trunc(148.49), the top edge the Nyquist frequency.
  const auto logNyquist = static_cast<float>(std::log10(22050.0));
  for (const auto& [y, hz] : {std::pair{220, 1}, {110, 148}, {1, 21070}, {0, 22050}}) {
    EXPECT_EQ(FrequencyAtRow(22050.0f, logNyquist, 220, y), hz) << y;
  }
  EXPECT_EQ(FrequencyAtRow(22050.0f, logNyquist, 0, 10), 0) << "a minimised window has no axis";
  EXPECT_EQ(FrequencyAtRow(0.0f, 0.0f, 220, 10), 0) << "no axis before the first clear";
  int32_t bins[1024] = {};
  bins[20] = bins[700] = 900;
  bins[1023] = 5000;  // beyond the bins looked at
  EXPECT_EQ(PeakBin(bins, 1000), 20) << "the lowest of equal maxima";
  EXPECT_EQ(PeakBin(bins, 0), 0);
  // After an hour without the readout, columns 20 ms apart: 0 for eleven columns while the
  // smoothed interval halves down, then rising to 50.
  int32_t interval = SmoothColumnInterval(0, 3600000.0f);
  std::string rates = std::to_string(ColumnsPerSecond(interval));
  for (int column = 2; column <= 30; ++column) {
    interval = SmoothColumnInterval(interval, 20.0f);
    rates += " " + std::to_string(ColumnsPerSecond(interval));
  }
  EXPECT_EQ(rates, "0 0 0 0 0 0 0 0 0 0 0 1 2 4 7 13 21 30 38 43 47 50 50 50 50 50 50 50 50 50");
  EXPECT_EQ(ColumnsPerSecond(0), 0);
}

}  // namespace
