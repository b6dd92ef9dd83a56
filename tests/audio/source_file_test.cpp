#include "audio/source_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "audio/sample_store.h"
#include "platform/display/display_backend.h"
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
  EXPECT_STREQ(SampleStore.WavFileName, path.c_str());
}

TEST_F(OpenSourceFileTest, EightBitStereoHasFullScale256) {
  FmtFields f;
  f.bits = 8;
  f.rate = 22050;
  NameSource(dir_.Write("b.wav", CanonicalWav(f, Bytes(100, 128))));
  OpenSourceFile(NULL, 4);
  EXPECT_EQ(SampleStore.fullScale, 256);
  EXPECT_EQ(SampleStore.blockAlign, 2);
  EXPECT_EQ(SampleStore.analysisRate, 5512);
}

TEST_F(OpenSourceFileTest, QuotedNamesOpenWithoutTheirQuotes) {
  const std::string path = dir_.Write("with space.wav", CanonicalWav(FmtFields{}, Bytes(8, 0)));
  NameSource("\"" + path + "\"");
  OpenSourceFile(NULL, 0);
  EXPECT_STREQ(SampleStore.WavFileName, path.c_str());
  std::fclose(SampleStore.file);
  SampleStore.file = nullptr;

  NameSource("\"" + path);
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

using OpenSourceFileDeathTest = OpenSourceFileTest;

TEST_F(OpenSourceFileDeathTest, AMissingFileEndsTheProcessNamingIt) {
  const std::string path = (dir_.path() / "missing.wav").string();
  NameSource(path);
  EXPECT_EXIT(OpenSourceFile(NULL, 0), testing::ExitedWithCode(1), "dont open wavfile\\(.*missing\\.wav\\)");
}

TEST_F(OpenSourceFileDeathTest, ARefusedHeaderEndsTheProcess) {
  NameSource(dir_.Write("text.wav", std::string_view("just some text\n")));
  EXPECT_EXIT(OpenSourceFile(NULL, 0), testing::ExitedWithCode(1), "not a RIFF file\\.");
}

TEST_F(OpenSourceFileDeathTest, ACancelledDialogEndsTheProcess) {
  // The display of a machine without one cancels every open-file dialog.
  EXPECT_EXIT(OpenSourceFile(NULL, 0), testing::ExitedWithCode(1), "file名をget出来ませんでした\\.");
}

// A display whose open-file dialog picks a file, recording how it was asked.
class ChoosingDisplay final : public morvex::display::DisplayBackend {
 public:
  explicit ChoosingDisplay(std::string choice) : choice_(std::move(choice)) {}
  void processEvents(std::optional<morvex::display::Clock::time_point>) override {}
  void wake() override {}
  void windowCreated(HWND) override {}
  void windowDestroyed(HWND) override {}
  void windowChanged(HWND) override {}
  void surfaceChanged(HWND) override {}
  void setForeground(HWND) override {}
  int messageBox(const char*, const char*, UINT) override { return 1; }
  bool openFileName(OPENFILENAMEA* ofn) override {
    asked = *ofn;
    filter.assign(ofn->lpstrFilter, sizeof "wavfile(*.wav)\0*.wav\0");
    std::snprintf(ofn->lpstrFile, ofn->nMaxFile, "%s", choice_.c_str());
    return true;
  }
  UINT trackPopupMenu(HMENU, int, int, HWND) override { return 0; }
  morvex::display::ScreenSize screenSize() override { return {800, 600}; }
  morvex::display::ScreenSize fullScreenClientSize() override { return {800, 560}; }

  OPENFILENAMEA asked{};
  std::string filter;

 private:
  std::string choice_;
};

TEST_F(OpenSourceFileDeathTest, TheDialogAsksForWavFiles) {
  const std::string path = dir_.Write("chosen.wav", CanonicalWav(FmtFields{}, Bytes(16, 0)));
  // Runs in a child process: the display installed there is gone with it.
  EXPECT_EXIT(
      {
        auto* display = new ChoosingDisplay(path);
        morvex::display::InstallBackend(display);
        const HWND owner = reinterpret_cast<HWND>(0x1234);
        OpenSourceFile(owner, 0);
        const OPENFILENAMEA& a = display->asked;
        const bool asked = display->filter == std::string("wavfile(*.wav)\0*.wav\0", 22) &&
                           a.hwndOwner == owner && a.nMaxFile == 500 && a.nMaxFileTitle == 500 &&
                           a.lpstrFileTitle != nullptr && a.Flags == OFN_HIDEREADONLY &&
                           std::strcmp(a.lpstrDefExt, "wav") == 0 && a.lStructSize == sizeof(OPENFILENAMEA);
        const bool opened = SampleStore.dataSize == 16 && std::strcmp(SampleStore.WavFileName, path.c_str()) == 0;
        std::fprintf(stderr, "asked=%d opened=%d", asked, opened);
        std::exit(asked && opened ? 0 : 2);
      },
      testing::ExitedWithCode(0), "asked=1 opened=1");
}

}  // namespace
