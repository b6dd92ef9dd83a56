#include "audio/source_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>

#include "audio/sample_store.h"
#include "support/temp_dir.h"
#include "support/wav_bytes.h"

namespace {

using test_support::Bytes;
using test_support::CanonicalWav;
using test_support::FmtFields;

void NameSource(const std::string& name) {
  std::snprintf(SampleStore.WavFileName, sizeof SampleStore.WavFileName, "%s", name.c_str());
}

// The format fields, the analysis rate for the zero-fill, and the file standing at the samples; a
// quoted name opens without its quotes.
TEST(OpenSourceFile, FillsTheFormatFieldsAndStandsAtTheSamples) {
  test_support::TempDir dir;
  FmtFields f;
  const std::string path = dir.Write("a b.wav", CanonicalWav(f, Bytes(4000, 1)));
  NameSource("\"" + path + "\"");
  OpenSourceFile(NULL, 2);
  ASSERT_NE(SampleStore.file, nullptr);
  EXPECT_STREQ(SampleStore.WavFileName, path.c_str());
  EXPECT_EQ(std::ftell(SampleStore.file), 44);
  EXPECT_EQ(std::tuple(SampleStore.dataSize, SampleStore.dataOffset, SampleStore.fileRate, SampleStore.analysisRate.load(),
                       SampleStore.blockAlign, SampleStore.fullScale),
            std::tuple(4000, 44, 44100, 22050, 4, 65536));
  EXPECT_EQ(std::tuple(SampleStore.format.nChannels, SampleStore.format.wFormatTag, SampleStore.format.wBitsPerSample,
                       SampleStore.format.nAvgBytesPerSec),
            std::tuple(2, 1, 16, 176400u));
  std::fclose(SampleStore.file);
  f.bits = 8;
  f.rate = 22050;
  NameSource(dir.Write("b.wav", CanonicalWav(f, Bytes(100, 128))));
  OpenSourceFile(NULL, 4);
  EXPECT_EQ(std::tuple(SampleStore.fullScale, SampleStore.blockAlign, SampleStore.analysisRate.load()), std::tuple(256, 2, 5512));
  std::fclose(SampleStore.file);
  SampleStore.file = nullptr;
  SampleStore.WavFileName[0] = '\0';
}

TEST(RemoveEnclosingQuotes, RemovesALeadingQuoteAndItsPartner) {
  for (const auto& [text, stripped] : {std::pair{"\"a b.wav\"", "a b.wav"}, {"\"a.wav", "a.wav"}, {"a.wav\"", "a.wav\""},
                                       {"\"", ""}, {"\"\"", ""}, {"", ""}}) {
    char name[32];
    std::snprintf(name, sizeof name, "%s", text);
    RemoveEnclosingQuotes(name);
    EXPECT_STREQ(name, stripped) << text;
  }
}

}  // namespace
