#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "analysis/window_function.h"
#include "app/settings.h"
#include "support/temp_dir.h"

namespace {

using test_support::TempDir;

class SettingsLoadTest : public testing::Test {
 protected:
  // A fresh record loaded from a file holding `text`.
  SettingsRecord& Load(const std::string& text) {
    LoadSettings(*settings_, dir_.Write("morvex.ini", text).c_str());
    return *settings_;
  }
  TempDir dir_;
  std::unique_ptr<SettingsRecord> settings_ = std::make_unique<SettingsRecord>();
};

TEST_F(SettingsLoadTest, AMissingFileLeavesTheDefaults) {
  LoadSettings(*settings_, (dir_.path() / "none.ini").c_str());
  LoadSettings(*settings_, "");
  EXPECT_EQ(settings_->mainwindowpx, 290);
  EXPECT_EQ(settings_->remembered.mainwindowpx, 300);
  EXPECT_EQ(settings_->fftsample, 2048);
  EXPECT_EQ(settings_->wfkind, 'f');
  EXPECT_EQ(settings_->wavwindowsleeptime, 20);
}

TEST_F(SettingsLoadTest, ReadsKeysWithEitherLineEndAndWithoutALastOne) {
  const SettingsRecord& s = Load("[general]\r\nsgcolor=0\r\nlevelmetertype=3\nwavwindowsleeptime=7");
  EXPECT_EQ(s.sgcolor, 0);
  EXPECT_EQ(s.levelmetertype, 3);
  EXPECT_EQ(s.wavwindowsleeptime, 7);
}

TEST_F(SettingsLoadTest, GeometryKeysAreAlsoRemembered) {
  const SettingsRecord& s = Load("mainwindowpx=50\r\nsgwindowheight=333\r\nvswindowstop=0\r\n");
  EXPECT_EQ(s.mainwindowpx, 50);
  EXPECT_EQ(s.remembered.mainwindowpx, 50);
  EXPECT_EQ(s.remembered.mainwindowpy, 155);  // not in the file
  EXPECT_EQ(s.mainwindowpy, 160);
  EXPECT_EQ(s.sgwindowheight, 333);
  EXPECT_EQ(s.remembered.sgwindowheight, 333);
  EXPECT_EQ(s.vswindowstop, 0);
}

TEST_F(SettingsLoadTest, SectionsCarryNoMeaning) {
  const SettingsRecord& s = Load("[wav]\r\nfftwindowpx=12\r\n[general]\r\nwavgphffts=1\r\n");
  EXPECT_EQ(s.fftwindowpx, 12);
  EXPECT_EQ(s.wavgphffts, 1);
}

TEST_F(SettingsLoadTest, KeysMatchExactly) {
  const SettingsRecord& s =
      Load("sgcolor =0\r\n SGCOLOR=0\r\nSgColor=0\r\nsgliner\r\nsggraphtype\r\nsgunderline=1\r\n");
  EXPECT_EQ(s.sgcolor, 1);
  EXPECT_EQ(s.sgliner, 0);
  EXPECT_EQ(s.sggraphtype, 1);  // a line without "=" is ignored
  EXPECT_EQ(s.sgunderline, 1);
}

TEST_F(SettingsLoadTest, ValuesAreTheirLeadingDecimalNumber) {
  const SettingsRecord& s =
      Load("fftwindowpx=  -12abc\r\nsgcolor=abc\r\nmainwindowpy=+7\r\nsgwindowpx=\r\n"
           "fftwindowpy=99999999999\r\nvswindowpx=-99999999999\r\n");
  EXPECT_EQ(s.fftwindowpx, -12);
  EXPECT_EQ(s.sgcolor, 0);
  EXPECT_EQ(s.mainwindowpy, 7);
  EXPECT_EQ(s.sgwindowpx, 0);
  EXPECT_EQ(s.fftwindowpy, INT32_MAX);
  EXPECT_EQ(s.vswindowpx, INT32_MIN);
}

TEST_F(SettingsLoadTest, CommentLinesAreSkipped) {
  const SettingsRecord& s = Load("//playfreqoptional=44100\r\n/sgcolor=0\r\n");
  EXPECT_EQ(s.playfreqoptional, 0);
  EXPECT_EQ(s.sgcolor, 1);
}

TEST_F(SettingsLoadTest, WindowFunctionIsItsFirstLetterAndMarksTheTable) {
  WindowRebuild = 0;
  const SettingsRecord& s = Load("wfkind=hanning\r\n");
  EXPECT_EQ(s.wfkind, 'h');
  EXPECT_EQ(WindowRebuild, 1);
  EXPECT_EQ(Load("wfkind=\r\n").wfkind, 'h');  // no letter: unchanged
}

TEST_F(SettingsLoadTest, KeyboardShortcutOneSwitchesTheShortcutsOn) {
  KeyboardShortcutsEnabled = 0;
  Load("keyboardshortcut=0\r\n");
  EXPECT_EQ(KeyboardShortcutsEnabled, 0);
  EXPECT_EQ(Load("keyboardshortcut=1\r\n").keyboardshortcut, 1);
  EXPECT_EQ(KeyboardShortcutsEnabled, 1);
  KeyboardShortcutsEnabled = 0;
}

TEST_F(SettingsLoadTest, TransformSizeAndRadixSetBothRequestedAndInEffect) {
  const SettingsRecord& s = Load("fftsample=1024\r\nfftradix4flag=1\r\n");
  EXPECT_EQ(s.fftsample, 1024);
  EXPECT_EQ(s.fftsampleRequested, 1024);
  EXPECT_EQ(s.fftradix4flag, 1);
  EXPECT_EQ(s.fftradix4flagRequested, 1);
}

TEST_F(SettingsLoadTest, LongLinesAreReadInPieces) {
  // 299 characters fill one read; the rest of the line is read as a line of its own.
  const SettingsRecord& s = Load(std::string(299, 'x') + "sgliner=1\r\n" + std::string(60, 'k') +
                                 "=5\r\nsgpeakshow=1\r\n" + std::string(5000, '=') + "\r\nsghzdraw=1");
  EXPECT_EQ(s.sgliner, 1);
  EXPECT_EQ(s.sgpeakshow, 1);
  EXPECT_EQ(s.sghzdraw, 1);
}

struct Replacement {
  const char* line;
  std::atomic<int32_t> SettingsRecord::*field;
  int32_t expected;
};

TEST_F(SettingsLoadTest, ValuesTheProgramCannotRunWithGetTheirDefaults) {
  using S = SettingsRecord;
  const Replacement cases[] = {
      {"zerofill=3", &S::zerofill, 1},
      {"zerofill=0", &S::zerofill, 1},
      {"zerofill=4", &S::zerofill, 4},
      {"fftsample=1000", &S::fftsample, 2048},
      {"fftsample=1000", &S::fftsampleRequested, 2048},
      {"fftsample=32", &S::fftsample, 2048},
      {"fftsample=65536", &S::fftsample, 2048},
      {"fftsample=0", &S::fftsample, 2048},
      {"fftsample=64", &S::fftsample, 64},
      {"fftsample=32768", &S::fftsample, 32768},
      {"fftgraphmagnified=0", &S::fftgraphmagnified, 20},
      {"sggraphmagnified=-5", &S::sggraphmagnified, 50},
      {"sggraphmagnified=1", &S::sggraphmagnified, 1},
      {"leveltimercalareaper=0", &S::leveltimercalareaper, 400},
      {"wavblockfanticonst=0", &S::wavblockfanticonst, 23},
      {"wavblockfanticonst=-3", &S::wavblockfanticonst, 23},
      {"mainwindowinvailintervalvariable=0", &S::mainwindowinvailintervalvariable, 10},
      {"mainwindowinvailintervalvariable=1000", &S::mainwindowinvailintervalvariable, 1000},
      {"fftwindowsleeptime=-1", &S::fftwindowsleeptime, 5},
      {"fftwindowsleeptime=0", &S::fftwindowsleeptime, 0},
      {"wavwindowsleeptime=-1", &S::wavwindowsleeptime, 20},
      {"levelmetertype=6", &S::levelmetertype, 1},
      {"levelmetertype=-1", &S::levelmetertype, 1},
      {"levelmetertype=5", &S::levelmetertype, 5},
      {"downrateforfft=3", &S::downrateforfft, 0},
      {"downrateforfft=4", &S::downrateforfft, 4},
      {"playfreqoptional=-8000", &S::playfreqoptional, 0},
      {"playfreqoptional=48000", &S::playfreqoptional, 48000},
      // Values that look odd but are safe stay as they are.
      {"iconselectinini=7", &S::iconselectinini, 7},
      {"vecscpsample=0", &S::vecscpsample, 0},
      {"sggraphtype=5", &S::sggraphtype, 5},
  };
  for (const Replacement& c : cases) {
    auto fresh = std::make_unique<SettingsRecord>();
    LoadSettings(*fresh, dir_.Write("one.ini", std::string(c.line)).c_str());
    EXPECT_EQ((*fresh).*c.field, c.expected) << c.line;
  }
}

}  // namespace
