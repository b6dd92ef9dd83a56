#include "audio/source_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "audio/sample_store.h"
#include "support/temp_dir.h"
#include "support/wav_bytes.h"

namespace {

using test_support::Bytes;
using test_support::CanonicalWav;
using test_support::FmtFields;
using test_support::TempDir;

void NameSource(const std::string& name) {
  std::snprintf(SampleStore.WavFileName, sizeof SampleStore.WavFileName, "%s", name.c_str());
}

class OpenSourceFileTest : public testing::Test {
 protected:
  void TearDown() override {
    if (SampleStore.file != nullptr) std::fclose(SampleStore.file);
    SampleStore.file = nullptr;
    SampleStore.WavFileName[0] = '\0';
  }
  TempDir dir_;
};

TEST_F(OpenSourceFileTest, FillsTheFormatFieldsAndStandsAtTheSamples) {
  FmtFields f;
  f.rate = 44100;
  const std::string path = dir_.Write("a.wav", CanonicalWav(f, Bytes(4000, 1)));
  NameSource(path);
  OpenSourceFile(NULL, 2);
  ASSERT_NE(SampleStore.file, nullptr);
  EXPECT_EQ(std::ftell(SampleStore.file), 44);
  EXPECT_EQ(SampleStore.dataSize, 4000);
  EXPECT_EQ(SampleStore.dataOffset, 44);
  EXPECT_EQ(SampleStore.fileRate, 44100);
  EXPECT_EQ(SampleStore.analysisRate, 22050);
  EXPECT_EQ(SampleStore.blockAlign, 4);
  EXPECT_EQ(SampleStore.fullScale, 65536);
  EXPECT_EQ(SampleStore.format.nChannels, 2);
  EXPECT_EQ(SampleStore.format.wFormatTag, 1);
  EXPECT_EQ(SampleStore.format.nAvgBytesPerSec, 176400u);
  EXPECT_EQ(SampleStore.format.wBitsPerSample, 16);
  EXPECT_STREQ(SampleStore.WavFileName, path.c_str());

  // 8-bit stereo: a full scale of 256.
  std::fclose(SampleStore.file);
  f.bits = 8;
  f.rate = 22050;
  NameSource(dir_.Write("b.wav", CanonicalWav(f, Bytes(100, 128))));
  OpenSourceFile(NULL, 4);
  EXPECT_EQ(SampleStore.fullScale, 256);
  EXPECT_EQ(SampleStore.blockAlign, 2);
  EXPECT_EQ(SampleStore.analysisRate, 5512);
}

TEST_F(OpenSourceFileTest, AQuotedNameOpensWithoutItsQuotes) {
  const std::string path = dir_.Write("with space.wav", CanonicalWav(FmtFields{}, Bytes(8, 0)));
  NameSource("\"" + path + "\"");
  OpenSourceFile(NULL, 0);
  EXPECT_STREQ(SampleStore.WavFileName, path.c_str());
  EXPECT_EQ(SampleStore.dataSize, 8);
}

TEST(RemoveEnclosingQuotes, RemovesALeadingQuoteAndItsPartner) {
  auto stripped = [](const char* text) {
    char name[32];
    std::snprintf(name, sizeof name, "%s", text);
    RemoveEnclosingQuotes(name);
    return std::string(name);
  };
  EXPECT_EQ(stripped("\"a b.wav\""), "a b.wav");
  EXPECT_EQ(stripped("\"a.wav"), "a.wav");
  EXPECT_EQ(stripped("a.wav\""), "a.wav\"");
  EXPECT_EQ(stripped("\""), "");
  EXPECT_EQ(stripped("\"\""), "");
  EXPECT_EQ(stripped(""), "");
}

}  // namespace
