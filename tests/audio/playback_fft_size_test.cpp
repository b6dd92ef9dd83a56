#include "audio/playback_fft_size.h"

#include <gtest/gtest.h>

#include "analysis/spectrum_frame.h"
#include "analysis/window_function.h"
#include "app/settings.h"
#include "spectrogram/sg_control.h"

namespace {

class PutChosenFftSizeInForceTest : public testing::Test {
 protected:
  void SetUp() override {
    SgControl.clearRequest = 0;
    WindowRebuild = 0;
    SamplesPerFrame = settings.fftsample / settings.zerofill;
  }
  SettingsRecord settings;
};

TEST_F(PutChosenFftSizeInForceTest, ANewSizeClearsTheSpectrogramAndRebuildsTheWindow) {
  settings.zerofill = 2;
  settings.fftsampleRequested = 8192;
  settings.fftradix4flagRequested = 1;
  PutChosenFftSizeInForce(settings);
  EXPECT_EQ(settings.fftsample, 8192);
  EXPECT_EQ(settings.fftradix4flag, 1);
  EXPECT_EQ(SgControl.clearRequest, 1);
  EXPECT_EQ(WindowRebuild, 1);
  EXPECT_EQ(SamplesPerFrame, 4096);
}

TEST_F(PutChosenFftSizeInForceTest, TheSameSizeOnlyTakesTheRadixOver) {
  settings.fftsampleRequested = settings.fftsample.load();
  settings.fftradix4flagRequested = 1;
  PutChosenFftSizeInForce(settings);
  EXPECT_EQ(settings.fftradix4flag, 1);
  EXPECT_EQ(SgControl.clearRequest, 0);
  EXPECT_EQ(WindowRebuild, 0);
  EXPECT_EQ(SamplesPerFrame, 2048);
}

}  // namespace
