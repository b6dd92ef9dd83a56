#include "analysis/window_function.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double kTwoPiF = 6.2831855f;
constexpr double kPiF = 3.1415927f;

// The window values written from their definitions, by sample index.
std::vector<float> ExpectedWindow(char kind, int m) {
  const int h = m / 2;
  std::vector<float> w(m);
  std::vector<float> gaussV(h + 1);
  float v = 0.0f;
  for (int j = 0; j < h; ++j) {
    gaussV[j] = v;
    v += static_cast<float>(4.24 / h);
  }
  for (int i = 0; i < m; ++i) {
    const int j = std::abs(i - h);  // distance from the centre; sample 0 is at j = h
    const double a = kTwoPiF * i / m;
    const double g = i == 0 ? 4.24f : gaussV[j], b = kTwoPiF * j / (m - 1), f = kTwoPiF * j / m;
    double value = 1.0;
    switch (kind) {
      case 't': value = static_cast<double>(h - j) / h; break;
      case 'n': value = 0.5 - 0.5 * std::cos(a); break;
      case 'g': value = std::exp(-(g * g) / 4.0); break;
      case 'm': value = 0.54 - 0.46 * std::cos(a); break;
      case 'h': value = 0.423 - 0.498 * std::cos(a) + 0.0792 * std::cos(2.0 * a); break;
      case 'r': value = ((0.762 - std::cos(a)) + 0.238 * std::cos(2.0 * a)) / 2.0; break;
      case 's': value = std::sin(kPiF * (static_cast<double>(i) / m)); break;
      case 'b': value = 0.42 + 0.5 * std::cos(b) + 0.08 * std::cos(2.0 * b); break;
      case 'f':
        value = j == 0 ? 1.0 : (0.54 + 0.46 * std::cos(f)) * (std::sin(2.0 * f) / (2.0 * f)) * 255.0 / 256.0;
        break;
    }
    w[i] = static_cast<float>(value);
  }
  return w;
}

// Each kind with its label, in the order of the menu.
const std::pair<char, const char*> kKinds[] = {
    {'t', "triangle"}, {'n', "hanning"}, {'g', "gauss(+-4.24)"}, {'m', "hamming"}, {'h', "blackman-harris"},
    {'r', "rosen field"}, {'s', "sin"}, {'b', "blackman"}, {'f', "flat top"}, {'z', "none(rectangular wave)"},
};

// M from 16 to 32768, every kind in turn, so that each table is built over another kind's.
TEST(WindowFunction, EveryKindEqualsItsDefinitionAtEverySampleAndSetsItsLabel) {
  for (int m = 16; m <= 32768; m *= 2) {
    for (const auto& [kind, label] : kKinds) {
      SCOPED_TRACE(std::string("kind ") + kind + ", M = " + std::to_string(m));
      BuildWindow(kind, m);
      EXPECT_EQ(std::string(WindowLabel.load()), std::string("windowfunc:") + label);
      const std::vector<float> expected = ExpectedWindow(kind, m);
      for (int i = 0; i < m; ++i) {
        // Compared as bits: the table must hold exactly the defined float.
        ASSERT_EQ(std::memcmp(&WindowTable[i], &expected[i], sizeof(float)), 0)
            << "sample " << i << ": expected " << expected[i] << ", got " << WindowTable[i];
      }
    }
  }
}

// Every lane of a block of four, and the samples after the last whole block.
TEST(WindowFunction, ApplyTruncatesTheDoubleProductTowardZero) {
  const struct {
    char kind;
    int m;
    std::vector<std::pair<int, int32_t>> expected;  // (sample, windowed value)
  } cases[] = {
      // Hann: 0, 0.038, 0.146, 0.309, 0.5, ..., 1 at the centre.
      {'n', 16, {{0, 0}, {1, -1247}, {2, 4798}, {3, -10114}, {4, 16383}, {8, 32767}}},
      // Triangle: 2/9 and 1/9 on the last two samples of 18, 0 and 1 on the two of 2.
      {'t', 18, {{16, 7281}, {17, -3640}}},
      {'t', 2, {{0, 0}, {1, -32768}}},
  };
  for (const auto& c : cases) {
    BuildWindow(c.kind, c.m);
    std::vector<int32_t> x(c.m);
    for (int i = 0; i < c.m; ++i) x[i] = i % 2 == 0 ? 32767 : -32768;
    ApplyWindow(x.data(), c.m);
    for (const auto& [i, value] : c.expected) EXPECT_EQ(x[i], value) << c.kind << ", M = " << c.m << ", sample " << i;
  }
}

}  // namespace
