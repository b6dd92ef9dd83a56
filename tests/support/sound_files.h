// Sound files in the formats libsndfile writes, for the tests of the program's decoding.
#pragma once

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "support/temp_dir.h"

namespace test_support {

// Writes interleaved samples through libsndfile in `format`: shorts and ints as integers of
// their own width (in a float file a short s is s / 32768), doubles at full scale 1.0 unchanged.
template <typename Sample>
std::string WriteSound(const TempDir& dir, const std::string& name, int format, int channels,
                       const std::vector<Sample>& samples, int rate = 44100) {
  const std::string path = (dir.path() / name).string();
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* sound = sf_open(path.c_str(), SFM_WRITE, &info);
  EXPECT_NE(sound, nullptr) << name << ": " << sf_strerror(nullptr);
  if (sound == nullptr) return path;
  sf_command(sound, SFC_SET_SCALE_INT_FLOAT_WRITE, nullptr, SF_TRUE);
  const sf_count_t frames = static_cast<sf_count_t>(samples.size() / channels);
  if constexpr (std::is_same_v<Sample, int16_t>) sf_writef_short(sound, samples.data(), frames);
  if constexpr (std::is_same_v<Sample, int32_t>) sf_writef_int(sound, samples.data(), frames);
  if constexpr (std::is_same_v<Sample, double>) sf_writef_double(sound, samples.data(), frames);
  sf_close(sound);
  return path;
}

}  // namespace test_support
