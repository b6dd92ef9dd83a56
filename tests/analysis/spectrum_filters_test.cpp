#include "analysis/spectrum_filters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<int32_t> Flat(int32_t n, int32_t v) { return std::vector<int32_t>(n, v); }

// --- Pink-noise flattening ---

TEST(PinkNoiseFlattening, FactorsFollowTheOctaveEdgesAt44100And2048) {
  // Bin k stands for 21·k Hz (44100 / 2048 = 21, integer). Bin 1024 (21504 Hz) already lies below
  // 28160 Hz, so the walk starts with one edge passed: factor 8/2.
  std::vector<int32_t> bins = Flat(2048, 1200);
  FlattenPinkNoise(bins.data(), 2048, 44100);
  EXPECT_EQ(bins[0], 1200);          // bin 0 is never changed
  EXPECT_EQ(bins[1024], 4800);       // 8/2
  EXPECT_EQ(bins[671], 4800);        // 14091 Hz, still above 14080
  EXPECT_EQ(bins[670], 3200);        // 14070 Hz: 8/3
  EXPECT_EQ(bins[336], 3200);        // 7056 Hz
  EXPECT_EQ(bins[335], 2400);        // 7035 Hz: 8/4
  EXPECT_EQ(bins[168], 2400);        // 3528 Hz
  EXPECT_EQ(bins[167], 1920);        // 3507 Hz: 8/5
  EXPECT_EQ(bins[5], 960);           // 105 Hz: the 110 Hz edge passed, 8/10
  EXPECT_EQ(bins[3], 960);           // 63 Hz, still above 55
  EXPECT_EQ(bins[2], 872);           // 42 Hz: 55 passed, 8/11 -> 872.7
  EXPECT_EQ(bins[1], 800);           // 21 Hz: 27.5 passed, 8/12
  EXPECT_EQ(bins[1025], 1200);       // above N/2: untouched
}

TEST(PinkNoiseFlattening, PassesAtMostOneEdgePerBin) {
  // 44100 / 64 = 689 Hz per bin: several edges can lie between two bins, and the factor lags.
  // Walking down: 32 (22048 Hz) g=2, 20 (13780) g=3, 10 (6890) g=4, 5 (3445) g=5, 2 (1378) g=6,
  // 1 (689) g=7, although seven edges lie above 689 Hz.
  std::vector<int32_t> bins = Flat(64, 2100);
  FlattenPinkNoise(bins.data(), 64, 44100);
  EXPECT_EQ(bins[32], 8400);
  EXPECT_EQ(bins[21], 8400);
  EXPECT_EQ(bins[20], 5600);
  EXPECT_EQ(bins[10], 4200);
  EXPECT_EQ(bins[5], 3360);
  EXPECT_EQ(bins[2], 2800);
  EXPECT_EQ(bins[1], 2400);
}

TEST(PinkNoiseFlattening, FullFactorEightAboveTheTopEdge) {
  // 96000 / 2048 = 46 Hz per bin: bin 1024 is 47104 Hz.
  std::vector<int32_t> bins = Flat(2048, 1000);
  FlattenPinkNoise(bins.data(), 2048, 96000);
  EXPECT_EQ(bins[1024], 8000);
  EXPECT_EQ(bins[613], 8000);  // 28198 Hz
  EXPECT_EQ(bins[612], 4000);  // 28152 Hz
}

TEST(PinkNoiseFlattening, HoldsAScaledMagnitudeBeyondThe32BitRange) {
  std::vector<int32_t> bins = Flat(2048, 1 << 29);
  FlattenPinkNoise(bins.data(), 2048, 96000);
  EXPECT_EQ(bins[1024], INT32_MAX);   // 2^32 after the factor 8
  EXPECT_EQ(bins[612], INT32_MAX);    // exactly 2^31 after 8/2
  EXPECT_EQ(bins[300], 1431655765);   // 8/3 of 2^29, in range
}

TEST(PinkNoiseFlattening, RatesBelowTheTransformSizeStopAtTheLowestEdge) {
  // 0 Hz per bin: each bin passes one edge until only the 0 Hz edge is left.
  std::vector<int32_t> bins = Flat(64, 1500);
  FlattenPinkNoise(bins.data(), 64, 60);
  EXPECT_EQ(bins[32], 6000);  // g = 2
  EXPECT_EQ(bins[19], 800);   // g = 15 after 14 edges
  EXPECT_EQ(bins[1], 800);
}

TEST(PinkNoiseFlattening, NegativeRateFromABrokenHeaderStaysInsideTheEdgeTable) {
  std::vector<int32_t> bins = Flat(64, 1500);
  FlattenPinkNoise(bins.data(), 64, -44100);
  EXPECT_EQ(bins[32], 6000);
  EXPECT_EQ(bins[1], 800);  // g stops at 15
}

// --- Loudness correction ---

TEST(LoudnessCorrection, HalvesZeroHzAndFadesOutAt200HzFor44100And2048) {
  std::vector<int32_t> bins = Flat(2048, 1000);
  bins[0] = 1001;
  CorrectLoudness(bins.data(), 2048, 44100);
  EXPECT_EQ(bins[0], 500);   // 1001 / 2, toward zero
  EXPECT_EQ(bins[1], 527);   // 21 Hz: 1000 / 1.895
  EXPECT_EQ(bins[5], 682);   // 107 Hz: 1000 / 1.465
  EXPECT_EQ(bins[9], 966);   // 193 Hz: 1000 / 1.035
  EXPECT_EQ(bins[10], 1000); // 215 Hz: the walk has stopped
  EXPECT_EQ(bins[11], 1000);
}

TEST(LoudnessCorrection, LeavesExactly200HzAlone) {
  // 25600 / 1024: bin k is exactly 25·k Hz.
  std::vector<int32_t> bins = Flat(1024, 1000);
  CorrectLoudness(bins.data(), 1024, 25600);
  EXPECT_EQ(bins[7], 888);  // 175 Hz: 1000 / 1.125
  EXPECT_EQ(bins[8], 1000);
}

TEST(LoudnessCorrection, ZeroRateHalvesTheWholeLowerHalf) {
  std::vector<int32_t> bins = Flat(64, 999);
  CorrectLoudness(bins.data(), 64, 0);
  EXPECT_EQ(bins[0], 499);
  EXPECT_EQ(bins[31], 499);
  EXPECT_EQ(bins[32], 999);  // bins from N/2 on are never touched
}

// --- Smoothing in time ---

TEST(SmoothingInTime, NormalApproachesAStepByIntegerHalves) {
  std::vector<int32_t> history = Flat(64, 0);
  const int32_t expected[] = {500, 750, 875, 937, 968, 984};
  for (int32_t want : expected) {
    std::vector<int32_t> bins = Flat(64, 1000);
    SmoothInTime(bins.data(), 64, kSmoothingNormal, history.data());
    EXPECT_EQ(bins[0], want);
    EXPECT_EQ(bins[31], want);
    EXPECT_EQ(history[31], want);
    EXPECT_EQ(bins[32], 1000);   // the upper half is left as it is
    EXPECT_EQ(history[32], 0);
  }
}

TEST(SmoothingInTime, NormalHalvesEachTermBeforeAdding) {
  std::vector<int32_t> history = {3, 3};
  std::vector<int32_t> bins = {3, 0};
  SmoothInTime(bins.data(), 2, kSmoothingNormal, history.data());
  EXPECT_EQ(bins[0], 2);  // 1 + 1, not (3 + 3) / 2
}

TEST(SmoothingInTime, LightWeighsTheNewSpectrumTwoToOne) {
  std::vector<int32_t> history = Flat(64, 0);
  const int32_t expected[] = {600, 800, 866, 888, 896};
  for (int32_t want : expected) {
    std::vector<int32_t> bins = Flat(64, 900);
    SmoothInTime(bins.data(), 64, kSmoothingLight, history.data());
    EXPECT_EQ(bins[5], want);
    EXPECT_EQ(history[5], want);
  }
}

TEST(SmoothingInTime, LightKeepsLargeMagnitudesExact) {
  // 2·bins does not fit 32 bits here; the weighted mean does.
  std::vector<int32_t> history = {2000000000, 2100000000};
  std::vector<int32_t> bins = {2000000000, 1800000000};
  SmoothInTime(bins.data(), 4, kSmoothingLight, history.data());
  EXPECT_EQ(bins[0], 2000000000);
  EXPECT_EQ(bins[1], 1900000000);
}

TEST(SmoothingInTime, NoneAndUnknownKindsChangeNothing) {
  for (int32_t kind : {0, 3, -1}) {
    std::vector<int32_t> history = Flat(8, 7);
    std::vector<int32_t> bins = Flat(8, 100);
    SmoothInTime(bins.data(), 8, kind, history.data());
    EXPECT_EQ(bins, Flat(8, 100));
    EXPECT_EQ(history, Flat(8, 7));
  }
}

}  // namespace
