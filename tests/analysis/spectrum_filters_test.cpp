#include "analysis/spectrum_filters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <utility>
#include <vector>

namespace {

struct FilterCase {
  void (*filter)(int32_t*, int32_t, int32_t);
  int32_t n, rate, level;                            // every bin at `level` before filtering
  std::vector<std::pair<int32_t, int32_t>> expected;  // (bin, magnitude)
};

// Pink noise flattening: bin k is 21·k Hz at 44100 Hz and 2048 points; bin 1024 lies below 28160 Hz, so
// the walk starts with one edge passed (8/2); 689 Hz per bin passes at most one edge per bin; 8 · 2^29 is
// held to the 32-bit range. Loudness correction: 0 Hz halved, 21 Hz divided by 1.895, 107 Hz by 1.465,
// 193 Hz by 1.035, none from 200 Hz. Bin 0 and the bins above N/2 are never flattened.
TEST(SpectrumFilters, PinkNoiseFactorsFollowTheOctaveEdgesAndLoudnessFadesOutAt200Hz) {
  const FilterCase cases[] = {
      {FlattenPinkNoise, 2048, 44100, 1200, {{0, 1200}, {1024, 4800}, {671, 4800}, {670, 3200}, {335, 2400},
                                             {167, 1920}, {5, 960}, {3, 960}, {2, 872}, {1, 800}, {1025, 1200}}},
      {FlattenPinkNoise, 64, 44100, 2100, {{32, 8400}, {21, 8400}, {20, 5600}, {10, 4200}, {2, 2800}, {1, 2400}}},
      {FlattenPinkNoise, 2048, 96000, 1 << 29, {{1024, INT32_MAX}, {612, INT32_MAX}, {300, 1431655765}}},
      {FlattenPinkNoise, 64, 60, 1500, {{32, 6000}, {19, 800}, {1, 800}}},  // a rate below the size
      {FlattenPinkNoise, 64, -44100, 1500, {{32, 6000}, {1, 800}}},
      {CorrectLoudness, 2048, 44100, 1000, {{0, 500}, {1, 527}, {5, 682}, {9, 966}, {10, 1000}, {11, 1000}}},
      {CorrectLoudness, 1024, 25600, 1000, {{7, 888}, {8, 1000}}},
      {CorrectLoudness, 64, 0, 999, {{0, 499}, {31, 499}, {32, 999}}},
  };
  for (const FilterCase& c : cases) {
    std::vector<int32_t> bins(c.n, c.level);
    c.filter(bins.data(), c.n, c.rate);
    for (const auto& [k, value] : c.expected) EXPECT_EQ(bins[k], value) << c.n << " " << c.rate << ", bin " << k;
  }
}

// Normal halves each term before adding; light weighs the new spectrum two to one, exact where only the
// weighted mean fits 32 bits. Both change the lower half only.
TEST(SpectrumFilters, SmoothingInTimeNormalAndLight) {
  for (const auto& [kind, level, steps] : {std::tuple{kSmoothingNormal, 1000, std::vector{500, 750, 875, 937, 968}},
                                           {kSmoothingLight, 900, std::vector{600, 800, 866, 888, 896}}}) {
    std::vector<int32_t> history(64, 0);
    for (int32_t want : steps) {
      std::vector<int32_t> bins(64, level);
      SmoothInTime(bins.data(), 64, kind, history.data());
      for (int32_t k : {0, 31}) EXPECT_EQ(std::pair(bins[k], history[k]), std::pair(want, want)) << k;
      EXPECT_EQ(std::pair(bins[32], history[32]), std::pair(level, 0));
    }
  }
  std::vector<int32_t> history{3, 3}, bins{3, 0};
  SmoothInTime(bins.data(), 4, kSmoothingNormal, history.data());
  EXPECT_EQ(bins, (std::vector<int32_t>{2, 1}));
  history = {2000000000, 2100000000};
  bins = {2000000000, 1800000000};
  SmoothInTime(bins.data(), 4, kSmoothingLight, history.data());
  EXPECT_EQ(bins, (std::vector<int32_t>{2000000000, 1900000000}));
}

}  // namespace
