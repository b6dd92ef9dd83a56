#include "spectrogram/sg_intensity.h"

#include <gtest/gtest.h>

namespace {

TEST(SgIntensityScale, ComesFromFullScaleBlockLengthAndMagnification) {
  struct Case {
    int32_t fullScale, fftsample, zerofill, magnified;
    int64_t scale;
  };
  const Case cases[] = {
      {65536, 2048, 1, 50, 2684354},
      {65536, 32768, 1, 50, 42949672},    // the product is 2^31
      {65536, 32768, 1, 1, 2147483648},   // beyond int32
      {256, 2048, 2, 10, 26214},          // zero fill shortens the block
      {65536, 2048, 1, 0, 134217728},     // magnification below 1 counts as 1
      {65536, 2048, 1, -5, 134217728},
      {65536, 2048, 0, 1, 134217728},     // zero fill 0 counts as 1
      {0, 2048, 1, 50, 1},                // no full scale: every magnitude saturates
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ComputeIntensityScale(c.fullScale, c.fftsample, c.zerofill, c.magnified).intensityScale, c.scale)
        << c.fullScale << " " << c.fftsample << " " << c.magnified;
  }
}

TEST(SgIntensityScale, MagnitudesBecomeGreyLevelsAndColourIndices) {
  SgPalette grey{ComputeIntensityScale(65536, 2048, 1, 50), 0, 1};
  SgPalette colour{grey.scale, 1, 1};
  struct Case {
    int32_t magnitude, grey, index;
  };
  const Case cases[] = {{0, 255, 0},           {100000, 246, 19},  {1000000, 161, 190},
                        {1342177, 128, 255},   {2684354, 0, 511},  {5000000, 0, 951},
                        {-7, 255, 0},          {2147483647, 0, 408800}};
  for (const Case& c : cases) {
    EXPECT_EQ(IntensityValue(grey, c.magnitude), c.grey) << c.magnitude;
    EXPECT_EQ(IntensityColour(grey, c.magnitude), RGB(c.grey, c.grey, c.grey)) << c.magnitude;
    EXPECT_EQ(IntensityValue(colour, c.magnitude), c.index) << c.magnitude;
  }
}

TEST(SgColourMaps, EveryBoundaryOfEveryMap) {
  struct Case {
    int32_t colour, type, value;
    int r, g, b;
  };
  const Case cases[] = {
      // grey: the value is the level itself, held within 0 .. 255
      {0, 1, 255, 255, 255, 255}, {0, 1, 128, 128, 128, 128}, {0, 1, 0, 0, 0, 0}, {0, 0, 300, 255, 255, 255},
      // "type1(old)"
      {1, 0, 0, 0, 0, 0},        {1, 0, 127, 0, 0, 127},     {1, 0, 128, 0, 0, 128},   {1, 0, 255, 0, 127, 255},
      {1, 0, 256, 1, 128, 0},    {1, 0, 383, 128, 255, 0},   {1, 0, 384, 255, 0, 0},   {1, 0, 5000, 255, 0, 0},
      // "type2(b,g wide)"
      {1, 1, 0, 0, 0, 0},        {1, 1, 255, 0, 0, 255},     {1, 1, 256, 0, 0, 255},   {1, 1, 511, 0, 255, 0},
      {1, 1, 512, 0, 255, 0},    {1, 1, 767, 255, 0, 0},     {1, 1, 768, 255, 0, 0},   {1, 1, 1023, 0, 0, 255},
      {1, 1, 1024, 255, 255, 0}, {1, 1, 90000, 255, 255, 0},
      // "type 3", and every other type
      {1, 2, 0, 0, 0, 0},        {1, 2, 127, 254, 0, 0},     {1, 2, 128, 254, 0, 0},   {1, 2, 255, 0, 254, 0},
      {1, 2, 256, 0, 254, 0},    {1, 2, 383, 0, 0, 254},     {1, 2, 384, 0, 0, 254},   {1, 2, 511, 0, 0, 0},
      {1, 2, 512, 0, 0, 255},    {1, 5, 511, 0, 0, 0},       {1, 5, 512, 0, 0, 255},   {1, -1, 128, 254, 0, 0},
      // any colour setting but 0 is a colour map
      {2, 0, 384, 255, 0, 0},
  };
  for (const Case& c : cases) {
    const SgPalette palette{SgIntensityScale{}, c.colour, c.type};
    EXPECT_EQ(ValueColour(palette, c.value), RGB(c.r, c.g, c.b))
        << "colour " << c.colour << " type " << c.type << " v " << c.value;
  }
}

}  // namespace
