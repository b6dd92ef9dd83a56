#include "audio/playback_rate.h"

#include <gtest/gtest.h>

namespace {

TEST(ApplyPlaybackRate, ChosenRateThenHalfSpeedThenTheFileRate) {
  struct Case {
    DWORD rate;
    WORD blockAlign;
    int32_t fileRate, chosen, half;
    DWORD wantRate, wantBytes;
  };
  const Case cases[] = {
      {44100, 4, 44100, 8000, 1, 8000, 32000},  // the chosen rate wins over half speed
      {11025, 2, 11025, 0, 1, 5512, 11025},     // (11025 x 2) / 2, not 5512 x 2
      {8000, 1, 22050, 0, 0, 22050, 22050},
  };
  for (const Case& c : cases) {
    WAVEFORMATEX format{};
    format.nSamplesPerSec = c.rate;
    format.nAvgBytesPerSec = c.rate * c.blockAlign;
    format.nBlockAlign = c.blockAlign;
    ApplyPlaybackRate(&format, c.fileRate, c.chosen, c.half);
    EXPECT_EQ(format.nSamplesPerSec, c.wantRate);
    EXPECT_EQ(format.nAvgBytesPerSec, c.wantBytes);
    EXPECT_EQ(format.nBlockAlign, c.blockAlign) << "the frame stays";
  }
}

}  // namespace
