#include "spectrogram/sg_intensity.h"

#include <gtest/gtest.h>

namespace {

TEST(SgIntensity, TheScaleComesFromFullScaleBlockLengthAndMagnificationAndMakesGreyLevelsAndIndices) {
  const struct {
    int32_t fullScale, fftsample, zerofill, magnified;
    int64_t scale;
  } scales[] = {
      {65536, 2048, 1, 50, 2684354},
      {65536, 32768, 1, 1, 2147483648},  // beyond int32
      {256, 2048, 2, 10, 26214},         // zero fill shortens the block
      {65536, 2048, 0, -5, 134217728},   // zero fill and magnification below 1 count as 1
      {0, 2048, 1, 50, 1},               // no full scale: every magnitude saturates
  };
  for (const auto& c : scales) {
    EXPECT_EQ(ComputeIntensityScale(c.fullScale, c.fftsample, c.zerofill, c.magnified).intensityScale, c.scale)
        << c.fullScale << " " << c.fftsample << " " << c.magnified;
  }
  const SgPalette grey{ComputeIntensityScale(65536, 2048, 1, 50), 0, 1}, colour{grey.scale, 1, 1};
  const struct {
    int32_t magnitude, grey, index;
  } values[] = {{0, 255, 0},         {100000, 246, 19}, {1000000, 161, 190}, {1342177, 128, 255},
                {2684354, 0, 511},   {5000000, 0, 951}, {-7, 255, 0},        {2147483647, 0, 408800}};
  for (const auto& c : values) {
    EXPECT_EQ(IntensityColour(grey, c.magnitude), RGB(c.grey, c.grey, c.grey)) << c.magnitude;
    EXPECT_EQ(IntensityValue(colour, c.magnitude), c.index) << c.magnitude;
  }
}

TEST(SgIntensity, EveryBoundaryOfEveryColourMap) {
  const struct {
    int32_t colour, type, value;
    int r, g, b;
  } cases[] = {
      // grey: the value is the level itself, held within 0 .. 255
      {0, 1, 128, 128, 128, 128}, {0, 1, 0, 0, 0, 0}, {0, 0, 300, 255, 255, 255},
      // "type1(old)"
      {1, 0, 0, 0, 0, 0}, {1, 0, 127, 0, 0, 127}, {1, 0, 128, 0, 0, 128}, {1, 0, 255, 0, 127, 255}, {1, 0, 256, 1, 128, 0},
      {1, 0, 383, 128, 255, 0}, {1, 0, 384, 255, 0, 0}, {1, 0, 5000, 255, 0, 0},
      // "type2(b,g wide)"
      {1, 1, 0, 0, 0, 0}, {1, 1, 255, 0, 0, 255}, {1, 1, 256, 0, 0, 255}, {1, 1, 511, 0, 255, 0}, {1, 1, 512, 0, 255, 0},
      {1, 1, 767, 255, 0, 0}, {1, 1, 768, 255, 0, 0}, {1, 1, 1023, 0, 0, 255}, {1, 1, 1024, 255, 255, 0},
      // "type 3", every other type, and any colour setting but 0
      {1, 2, 0, 0, 0, 0}, {1, 2, 127, 254, 0, 0}, {1, 2, 128, 254, 0, 0}, {1, 2, 255, 0, 254, 0}, {1, 2, 256, 0, 254, 0},
      {1, 2, 383, 0, 0, 254}, {1, 2, 384, 0, 0, 254}, {1, 2, 511, 0, 0, 0}, {1, 2, 512, 0, 0, 255}, {1, 5, 511, 0, 0, 0},
      {1, -1, 128, 254, 0, 0}, {2, 0, 384, 255, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ValueColour(SgPalette{SgIntensityScale{}, c.colour, c.type}, c.value), RGB(c.r, c.g, c.b))
        << "colour " << c.colour << " type " << c.type << " v " << c.value;
  }
}

}  // namespace
