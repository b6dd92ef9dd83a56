#include "analysis/spectrum_filters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace {

using Bins = std::vector<std::pair<int32_t, int32_t>>;  // (bin, expected magnitude)

struct FilterCase {
  const char* what;
  int32_t n;
  int32_t rate;
  int32_t level;  // of every bin before filtering
  Bins expected;
};

void ExpectFiltered(void (*filter)(int32_t*, int32_t, int32_t), const FilterCase& c) {
  SCOPED_TRACE(c.what);
  std::vector<int32_t> bins(c.n, c.level);
  filter(bins.data(), c.n, c.rate);
  for (const auto& [k, value] : c.expected) EXPECT_EQ(bins[k], value) << "bin " << k;
}

TEST(PinkNoiseFlattening, FactorsFollowTheOctaveEdges) {
  const FilterCase cases[] = {
      // Bin k is 21·k Hz; bin 1024 lies below 28160 Hz: the walk starts with one edge passed (8/2).
      // Bin 0 and the bins above N/2 are never changed.
      {"44100 Hz, 2048 points", 2048, 44100, 1200,
       {{0, 1200}, {1024, 4800}, {671, 4800}, {670, 3200}, {336, 3200}, {335, 2400}, {167, 1920}, {5, 960},
        {3, 960}, {2, 872}, {1, 800}, {1025, 1200}}},
      // 689 Hz per bin: the factor passes at most one edge per bin.
      {"one edge per bin", 64, 44100, 2100,
       {{32, 8400}, {21, 8400}, {20, 5600}, {10, 4200}, {5, 3360}, {2, 2800}, {1, 2400}}},
      {"full factor eight", 2048, 96000, 1000, {{1024, 8000}, {613, 8000}, {612, 4000}}},
      // 8 · 2^29 and 8/2 · 2^29 = 2^31 are both held.
      {"held to the 32-bit range", 2048, 96000, 1 << 29, {{1024, INT32_MAX}, {612, INT32_MAX}, {300, 1431655765}}},
      {"rate below the size", 64, 60, 1500, {{32, 6000}, {19, 800}, {1, 800}}},
      {"negative rate", 64, -44100, 1500, {{32, 6000}, {1, 800}}},
  };
  for (const FilterCase& c : cases) ExpectFiltered(FlattenPinkNoise, c);
}

TEST(LoudnessCorrection, HalvesZeroHzAndFadesOutAt200Hz) {
  const FilterCase cases[] = {
      // 0 Hz halved; 21 Hz divided by 1.895, 107 Hz by 1.465, 193 Hz by 1.035; none at 215 Hz.
      {"44100 Hz, 2048 points", 2048, 44100, 1000, {{0, 500}, {1, 527}, {5, 682}, {9, 966}, {10, 1000}, {11, 1000}}},
      {"exactly 200 Hz", 1024, 25600, 1000, {{7, 888}, {8, 1000}}},
      {"zero rate", 64, 0, 999, {{0, 499}, {31, 499}, {32, 999}}},
  };
  for (const FilterCase& c : cases) ExpectFiltered(CorrectLoudness, c);
}

// Each step of a constant spectrum from zero: the smoothed bins and history, in the lower half only.
void ExpectSteps(int32_t kind, int32_t level, const std::vector<int32_t>& steps) {
  std::vector<int32_t> history(64, 0);
  for (int32_t want : steps) {
    std::vector<int32_t> bins(64, level);
    SmoothInTime(bins.data(), 64, kind, history.data());
    for (int32_t k : {0, 5, 31}) {
      EXPECT_EQ(bins[k], want) << k;
      EXPECT_EQ(history[k], want) << k;
    }
    EXPECT_EQ(bins[32], level);
    EXPECT_EQ(history[32], 0);
  }
}

TEST(SmoothingInTime, NormalHalvesAndLightWeighsTheNewSpectrumTwoToOne) {
  ExpectSteps(kSmoothingNormal, 1000, {500, 750, 875, 937, 968, 984});
  ExpectSteps(kSmoothingLight, 900, {600, 800, 866, 888, 896});
  // Normal halves each term before adding; light is exact where only the weighted mean fits 32 bits.
  const struct {
    int32_t kind;
    std::vector<int32_t> history, bins, expected;
  } cases[] = {
      {kSmoothingNormal, {3, 3}, {3, 0}, {2, 1}},
      {kSmoothingLight, {2000000000, 2100000000}, {2000000000, 1800000000}, {2000000000, 1900000000}},
  };
  for (auto c : cases) {
    SmoothInTime(c.bins.data(), 4, c.kind, c.history.data());
    EXPECT_EQ(c.bins, c.expected) << c.kind;
  }
}

}  // namespace
