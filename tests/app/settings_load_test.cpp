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
    settings_ = std::make_unique<SettingsRecord>();
    LoadSettings(*settings_, dir_.Write("morvex.ini", text).c_str());
    return *settings_;
  }
  TempDir dir_;
  std::unique_ptr<SettingsRecord> settings_ = std::make_unique<SettingsRecord>();
};

TEST_F(SettingsLoadTest, OnlyExactKeysCountAnywhereInTheFileWithEitherLineEnd) {
  LoadSettings(*settings_, (dir_.path() / "none.ini").c_str());
  LoadSettings(*settings_, "");
  EXPECT_EQ(settings_->mainwindowpx, 290) << "a missing file leaves the defaults";
  KeyboardShortcutsEnabled = 0;
  const SettingsRecord& s = Load(
      "[wav]\r\nmainwindowpx=50\r\nsgcolor =0\r\n SGCOLOR=0\r\nSgColor=0\r\nsgliner\r\n//playfreqoptional=44100\r\n"
      "/sgunderline=1\r\nfftsample=1024\nfftradix4flag=1\r\n[general]\r\nlevelmetertype=3\nwavwindowsleeptime=7\n"
      "keyboardshortcut=1");
  EXPECT_EQ(s.remembered.mainwindowpx, 50);
  EXPECT_EQ(s.remembered.mainwindowpy, 155);  // not in the file
  using S = SettingsRecord;
  // A line without "=" or with anything before or around the key is ignored.
  const std::pair<std::atomic<int32_t> S::*, int32_t> values[] = {
      {&S::mainwindowpx, 50}, {&S::sgcolor, 1},           {&S::sgliner, 0},
      {&S::playfreqoptional, 0}, {&S::sgunderline, 0},    {&S::fftsampleRequested, 1024},
      {&S::fftradix4flagRequested, 1}, {&S::levelmetertype, 3}, {&S::wavwindowsleeptime, 7}};
  for (const auto& [field, value] : values) EXPECT_EQ(s.*field, value);
  EXPECT_EQ(KeyboardShortcutsEnabled, 1) << "keyboardshortcut=1 switches the shortcuts on";
  KeyboardShortcutsEnabled = 0;
}

TEST_F(SettingsLoadTest, WindowFunctionIsAPrintableFirstCharacterAndMarksTheTable) {
  const std::pair<const char*, char> cases[] = {
      {"wfkind=hanning", 'h'}, {"wfkind=", 'f'},      {"wfkind=\r\r\n", 'f'},     {"wfkind=\x01z", 'f'},
      {"wfkind=\xc3\xa4", 'f'}, {"wfkind=\tb", 'f'}, {"wfkind=\x7f", 'f'},       {"wfkind= ", ' '},
  };
  for (const auto& [line, letter] : cases) {
    WindowRebuild = 0;
    EXPECT_EQ(Load(line).wfkind, letter) << line;
    EXPECT_EQ(WindowRebuild, 1);
  }
}

TEST_F(SettingsLoadTest, LongLinesAreReadInPieces) {
  // 299 characters fill one read; the rest of the line is read as a line of its own.
  const SettingsRecord& s = Load(std::string(299, 'x') + "sgliner=1\r\n" + std::string(60, 'k') +
                                 "=5\r\nsgpeakshow=1\r\n" + std::string(5000, '=') + "\r\nsghzdraw=1");
  EXPECT_EQ(s.sgliner, 1);
  EXPECT_EQ(s.sgpeakshow, 1);
  EXPECT_EQ(s.sghzdraw, 1);
}

struct Value {
  const char* line;
  std::atomic<int32_t> SettingsRecord::*field;
  int32_t expected;
};

TEST_F(SettingsLoadTest, ValuesAreTheirLeadingNumberOrTheDefaultWhereTheProgramCannotRunWithIt) {
  using S = SettingsRecord;
  const Value cases[] = {
      {"fftwindowpx=  -12abc", &S::fftwindowpx, -12}, {"sgcolor=abc", &S::sgcolor, 0},
      {"mainwindowpy=+7", &S::mainwindowpy, 7}, {"sgwindowpx=", &S::sgwindowpx, 0},
      {"fftwindowpy=99999999999", &S::fftwindowpy, INT32_MAX}, {"vswindowpx=-99999999999", &S::vswindowpx, INT32_MIN},
      {"zerofill=3", &S::zerofill, 1}, {"zerofill=0", &S::zerofill, 1}, {"zerofill=4", &S::zerofill, 4},
      {"fftsample=1000", &S::fftsample, 2048}, {"fftsample=1000", &S::fftsampleRequested, 2048},
      {"fftsample=32", &S::fftsample, 2048}, {"fftsample=65536", &S::fftsample, 2048},
      {"fftsample=64", &S::fftsample, 64}, {"fftsample=32768", &S::fftsample, 32768},
      {"fftgraphmagnified=0", &S::fftgraphmagnified, 20}, {"sggraphmagnified=-5", &S::sggraphmagnified, 50},
      {"sggraphmagnified=1", &S::sggraphmagnified, 1}, {"leveltimercalareaper=0", &S::leveltimercalareaper, 400},
      {"wavblockfanticonst=-3", &S::wavblockfanticonst, 23},
      {"mainwindowinvailintervalvariable=0", &S::mainwindowinvailintervalvariable, 10},
      {"fftwindowsleeptime=-1", &S::fftwindowsleeptime, 5}, {"fftwindowsleeptime=0", &S::fftwindowsleeptime, 0},
      {"wavwindowsleeptime=-1", &S::wavwindowsleeptime, 20}, {"levelmetertype=6", &S::levelmetertype, 1},
      {"levelmetertype=-1", &S::levelmetertype, 1}, {"levelmetertype=5", &S::levelmetertype, 5},
      {"downrateforfft=3", &S::downrateforfft, 0}, {"downrateforfft=4", &S::downrateforfft, 4},
      {"playfreqoptional=-8000", &S::playfreqoptional, 0},
      // Values that look odd but are safe stay as they are.
      {"iconselectinini=7", &S::iconselectinini, 7}, {"vecscpsample=0", &S::vecscpsample, 0},
  };
  for (const Value& c : cases) EXPECT_EQ(Load(c.line).*c.field, c.expected) << c.line;
}

}  // namespace
