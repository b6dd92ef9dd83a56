#include "audio/playback_rate.h"

#include <gtest/gtest.h>

namespace {

WAVEFORMATEX Format(DWORD rate, WORD blockAlign) {
  WAVEFORMATEX format{};
  format.nSamplesPerSec = rate;
  format.nAvgBytesPerSec = rate * blockAlign;
  format.nBlockAlign = blockAlign;
  return format;
}

TEST(ApplyPlaybackRate, TheChosenRateWinsOverHalfSpeed) {
  WAVEFORMATEX format = Format(44100, 4);
  ApplyPlaybackRate(&format, 44100, 8000, 1);
  EXPECT_EQ(format.nSamplesPerSec, 8000u);
  EXPECT_EQ(format.nAvgBytesPerSec, 32000u);
  EXPECT_EQ(format.nBlockAlign, 4) << "the frame stays";
}

TEST(ApplyPlaybackRate, HalfSpeedHalvesTheFileRateWithIntegerDivisions) {
  WAVEFORMATEX format = Format(11025, 2);
  ApplyPlaybackRate(&format, 11025, 0, 1);
  EXPECT_EQ(format.nSamplesPerSec, 5512u);
  EXPECT_EQ(format.nAvgBytesPerSec, 11025u) << "(11025 x 2) / 2, not 5512 x 2";
}

TEST(ApplyPlaybackRate, OtherwiseTheFileRateComesBack) {
  WAVEFORMATEX format = Format(8000, 1);
  ApplyPlaybackRate(&format, 22050, 0, 0);
  EXPECT_EQ(format.nSamplesPerSec, 22050u);
  EXPECT_EQ(format.nAvgBytesPerSec, 22050u);
}

}  // namespace
