#include "spectrogram/sg_cycle.h"

#include <gtest/gtest.h>

#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/sg_control.h"
#include "shared/shared_spectrum.h"
#include "support/picture.h"

namespace {

using test_support::kBlack;
using test_support::Picture;

constexpr int kWidth = 10, kHeight = 30;
constexpr int kBinOneY = kHeight - 21;  // bin 1 of a 32-point transform at 44100 Hz: row 21 of 30

class SgCycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Settings.~SettingsRecord();
    new (&Settings) SettingsRecord();
    Settings.fftsample = 32;
    Settings.sggraphmagnified = 400;
    Settings.sgcolor = Settings.sggraphtype = 1;
    SampleStore.analysisRate = 44100;
    SampleStore.fullScale = 65536;
    playflag = SgControl.clearRequest = 1;
    SgControl.column = SgControl.rescaleRequest = SgControl.repaintRequest = SgControl.paused = 0;
    SgControl.waitStats = SgControl.slowWait = 0;
    SgControl.returnedOnce = 1;  // after a wrap: no labels over the columns looked at
    SgControl.clientWidth = kWidth;
    SgControl.clientHeight = kHeight;
    run.window = window.dc();
    run.back = back.dc();
    run.scale = scale.dc();
    TEXTMETRICA metrics{};
    GetTextMetricsA(back.dc(), &metrics);
    run.metrics = {metrics.tmHeight, metrics.tmHeight + metrics.tmExternalLeading, metrics.tmAveCharWidth};
    run.intensity = CurrentIntensityScale();
  }
  void TearDown() override { playflag = 0; }
  // Publishes spectrum k (bin 1 at 300 * k) and runs one cycle; returns the column drawn.
  int Cycle(int k) {
    int32_t bins[32] = {};
    bins[1] = 300 * k;
    PublishSpectrum(bins, 32);
    RunSgCycle(run);
    return SgControl.column;
  }
  COLORREF Spectrum(int k) const { return IntensityColour({run.intensity, 1, 1}, 300 * k); }

  Picture window{kWidth + 4, kHeight + 4, RGB(7, 7, 7)}, back{kWidth + 4, kHeight + 4}, scale{kWidth + 4, kHeight + 4};
  SgRun run;
};

TEST_F(SgCycleTest, ReturnModeClearsAtTheRightEdgeScrollModeMovesThePictureLeft) {
  for (int k = 1; k < kWidth; ++k) ASSERT_EQ(Cycle(k), k);
  for (int x = 4; x < kWidth; ++x) EXPECT_EQ(back.at(x, kBinOneY), Spectrum(x)) << x;
  // At the edge: column 1 over the old picture and a clear requested for the next cycle, which
  // clears first and draws at x = 1 again; the window got the clear and column 1.
  EXPECT_EQ(Cycle(kWidth), 1);
  EXPECT_EQ(SgControl.clearRequest, 1);
  EXPECT_EQ(back.at(kWidth - 1, kBinOneY), Spectrum(kWidth - 1));
  EXPECT_EQ(Cycle(kWidth + 1), 1);
  EXPECT_EQ(SgControl.clearRequest, 0);
  for (int x = 4; x < kWidth; ++x) {
    EXPECT_EQ(back.rowsOf(x, kBlack, kHeight).size(), kHeight + 0u) << x;
    EXPECT_EQ(window.rowsOf(x, kBlack, kHeight).size(), kHeight + 0u) << x;
  }
  SetUp();
  Settings.sggraphreturn = 0;
  for (int k = 1; k < kWidth; ++k) ASSERT_EQ(Cycle(k), k);
  EXPECT_EQ(Cycle(kWidth), kWidth - 1);
  EXPECT_EQ(Cycle(kWidth + 1), kWidth - 1);
  // x shows spectrum x + 2 after two scrolls; the window has the whole picture.
  for (int x = 4; x < kWidth; ++x) EXPECT_EQ(back.at(x, kBinOneY), Spectrum(x + 2)) << x;
  EXPECT_TRUE(test_support::SameBlock(window.dc(), 0, 0, back.dc(), 0, 0, kWidth, kHeight));
}

// Minimised and restored during playback: no wrap while the window has no width, so the restore's
// clear brings the labels back; a real wrap afterwards still takes them away.
TEST_F(SgCycleTest, AMinimisedWindowHasNoEdgeSoTheLabelsComeBackWithTheRestore) {
  // The labels are the only white in the colour map's picture.
  const auto labelPixels = [this] { return kWidth * kHeight - test_support::InkIn(back.dc(), 0, 0, kWidth, kHeight); };
  SgControl.returnedOnce = 0;
  Cycle(1);
  ASSERT_GT(labelPixels(), 0) << "labels before the first wrap";
  SgControl.clientWidth = SgControl.clientHeight = 0;
  SgControl.clearRequest = 1;
  for (int k = 2; k < 3 * kWidth; ++k) Cycle(k);
  EXPECT_EQ(SgControl.returnedOnce, 0);
  EXPECT_EQ(SgControl.clearRequest, 0);
  SgControl.clientWidth = kWidth;
  SgControl.clientHeight = kHeight;
  SgControl.clearRequest = 1;
  EXPECT_EQ(Cycle(1), 1);
  EXPECT_GT(labelPixels(), 0) << "labels after the restore";
  for (int k = 2; k <= kWidth + 1; ++k) Cycle(k);
  EXPECT_EQ(SgControl.returnedOnce, 1);
  EXPECT_EQ(labelPixels(), 0) << "no labels after a wrap";
}

TEST_F(SgCycleTest, PausedPictureStaysFrozenAndAnEndedWaitStillDraws) {
  Cycle(1);
  SgControl.paused = 1;
  playflag = 0;
  EXPECT_EQ(Cycle(2), 1) << "paused: nothing drawn, the thread ends at its loop test";
  SgControl.paused = 0;
  // Playback ended while waiting: the column shows the spectrum published while frozen.
  SharedSpectrum.ready = 0;
  RunSgCycle(run);
  EXPECT_EQ(SgControl.column, 2);
  EXPECT_EQ(back.at(2, kBinOneY), Spectrum(2));
  // Without waiting, columns repeat the last spectrum back to back.
  playflag = Settings.sgspectnowait = 1;
  RunSgCycle(run);
  EXPECT_EQ(SgControl.column, 3);
  EXPECT_EQ(back.at(3, kBinOneY), Spectrum(2));
  EXPECT_EQ(run.waitCount, 0);
}

}  // namespace
