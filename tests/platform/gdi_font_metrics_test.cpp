#include <gtest/gtest.h>

#include <climits>

#include "platform/gdi/font_metrics.h"

namespace morvex::gdi {
namespace {

// IPAGothic's design values.
constexpr FaceTables kIpaGothic{2048, 1802, 401, 1802, -246, 0, 1024, 2048};

TEST(GdiFontMetricsTest, PositiveHeightIsTheCellHeight) {
  for (int height = 1; height <= 200; ++height) {
    const FontMetrics m = ComputeFontMetrics(kIpaGothic, height);
    EXPECT_EQ(m.height, height);
    EXPECT_EQ(m.ascent + m.descent, height);
    EXPECT_GE(m.descent, 0);
    EXPECT_GE(m.pixelsPerEm, 1);
    EXPECT_LE(m.pixelsPerEm, height);
  }
  const FontMetrics twelve = ComputeFontMetrics(kIpaGothic, 12);
  EXPECT_EQ(twelve.pixelsPerEm, 11);  // 12 * 2048 / 2203 = 11.16
  EXPECT_EQ(twelve.ascent, 10);       // 12 * 1802 / 2203 = 9.82
  EXPECT_EQ(twelve.averageCharWidth, 6);
  EXPECT_EQ(twelve.maxCharWidth, 11);
  EXPECT_EQ(twelve.internalLeading, 1);
}

// A negative height asks for that many pixels per em (zero, the 16-pixel default, is checked on
// the real font with the text).
TEST(GdiFontMetricsTest, NegativeHeightIsTheEmHeightAndExternalLeadingTheLineGapLeft) {
  const FontMetrics m = ComputeFontMetrics(kIpaGothic, -12);
  EXPECT_EQ(m.height, 13);  // 12 * 2203 / 2048 = 12.9
  EXPECT_EQ(m.pixelsPerEm, 12);
  EXPECT_EQ(m.ascent, 11);
  EXPECT_EQ(m.averageCharWidth, 6);
  // hhea spans 1600 + 400 = 2000 units, the win metrics 2100, the line gap 300: 200 units remain.
  const FaceTables face{1000, 1700, 400, 1600, -400, 300, 500, 1000};
  EXPECT_EQ(ComputeFontMetrics(face, -10).externalLeading, 2);
  EXPECT_EQ(ComputeFontMetrics(kIpaGothic, 16).externalLeading, 0);
}

TEST(GdiFontMetricsTest, ExtremeRequestsAndBrokenTablesStayBounded) {
  for (const long height : {static_cast<long>(INT_MIN), static_cast<long>(INT_MAX), -100000L, 100000L}) {
    const FontMetrics m = ComputeFontMetrics(kIpaGothic, height);
    EXPECT_GE(m.height, 1);
    EXPECT_LE(m.height, kMaxFontHeight * 2);
    EXPECT_LE(m.pixelsPerEm, kMaxFontHeight);
  }
  const FaceTables broken{0, 0, 0, 0, 0, 0, 0, 0};
  const FontMetrics m = ComputeFontMetrics(broken, 16);
  EXPECT_EQ(m.height, 16);
  EXPECT_GE(m.pixelsPerEm, 1);
}

}  // namespace
}  // namespace morvex::gdi
