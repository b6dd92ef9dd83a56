#include "audio/playback_fft_size.h"

#include <gtest/gtest.h>

#include "analysis/spectrum_frame.h"
#include "analysis/window_function.h"
#include "app/settings.h"
#include "spectrogram/sg_control.h"

namespace {

TEST(PutChosenFftSizeInForce, ANewSizeClearsAndRebuildsTheSameSizeOnlyTakesTheRadixOver) {
  for (const int32_t requested : {8192, 2048}) {
    SettingsRecord settings;
    settings.zerofill = 2;
    SgControl.clearRequest = 0;
    WindowRebuild = 0;
    SamplesPerFrame = settings.fftsample / settings.zerofill;
    settings.fftsampleRequested = requested;
    settings.fftradix4flagRequested = 1;
    PutChosenFftSizeInForce(settings);
    const int32_t changed = requested != 2048 ? 1 : 0;
    EXPECT_EQ(settings.fftsample, requested);
    EXPECT_EQ(settings.fftradix4flag, 1);
    EXPECT_EQ(SgControl.clearRequest, changed) << requested;
    EXPECT_EQ(WindowRebuild, changed) << requested;
    EXPECT_EQ(SamplesPerFrame, requested / 2) << requested;
  }
}

}  // namespace
