#include "spectrogram/sg_note_name.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "spectrogram/sg_readouts.h"

namespace {

TEST(SgNoteName, NearestEqualTemperedNote) {
  struct Case {
    int32_t hz;
    const char* name;
  };
  // 100 Hz: index 10.35 gives G; 27 Hz: index 11.68 wraps to A; 880 Hz: index 12 is A.
  const Case cases[] = {{440, "A"}, {466, "Bb"}, {262, "C"},  {100, "G"},  {1000, "B"}, {27, "A"}, {880, "A"},
                        {0, "A"},   {-5, "A"},   {1, "C"},    {494, "B"},  {523, "C"},  {554, "Db"}, {587, "D"},
                        {622, "Eb"}, {659, "E"}, {698, "F"},  {740, "Gb"}, {831, "Ab"}, {430, "A"}, {2147483647, "C"}};
  for (const Case& c : cases) EXPECT_STREQ(NoteName(c.hz), c.name) << c.hz;
  EXPECT_STREQ(NoteName(440), "A") << "the answer never depends on the call before";
}

TEST(SgFrequencyAtRow, InvertsTheLogarithmicAxis) {
  const float nyquist = 22050.0f;
  const auto logNyquist = static_cast<float>(std::log10(22050.0));
  struct Case {
    int32_t y, hz;
  };
  // Bottom edge 1 Hz, the geometric middle trunc(148.49), the top edge the Nyquist frequency.
  const Case cases[] = {{220, 1}, {110, 148}, {1, 21070}, {0, 22050}};
  for (const Case& c : cases) EXPECT_EQ(FrequencyAtRow(nyquist, logNyquist, 220, c.y), c.hz) << c.y;
  EXPECT_EQ(FrequencyAtRow(nyquist, logNyquist, 0, 10), 0) << "a minimised window has no axis";
  EXPECT_EQ(FrequencyAtRow(0.0f, 0.0f, 220, 10), 0) << "no axis before the first clear";
}

TEST(SgPeakReadout, LowestOfEqualMaxima) {
  int32_t bins[1024] = {};
  bins[20] = 900;
  bins[700] = 900;
  bins[1023] = 5000;  // beyond the bins looked at
  EXPECT_EQ(PeakBin(bins, 1000), 20);
  EXPECT_EQ(PeakBin(bins, 0), 0);
}

// After an hour without the readout, columns 20 ms apart: the rate shows 0 for eleven columns
// while the smoothed interval halves down, then rises to 50.
TEST(SgColumnRate, SmoothedIntervalSettlesAfterALongPause) {
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
