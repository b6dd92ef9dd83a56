// The settings file: where it lives, what a load takes from it, what a save writes and how it
// replaces the old file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>

#include "analysis/window_function.h"
#include "app/settings.h"
#include "app/settings_path.h"
#include "support/temp_dir.h"

namespace {

using test_support::ReadFileBytes;
using S = SettingsRecord;
namespace fs = std::filesystem;

LiveWindow Shown(LONG left, LONG top, LONG right, LONG bottom) {
  return {true, {left, top, right, bottom}, right - left - 16, bottom - top - 38};
}

LiveGeometry TypicalDesktop() {
  return {Shown(100, 50, 700, 450), Shown(0, 340, 280, 555), Shown(0, 115, 280, 335), Shown(300, 0, 472, 162),
          Shown(475, 0, 795, 160),  1920, 1017, 2};
}

long EntriesIn(const fs::path& dir) { return std::distance(fs::directory_iterator(dir), fs::directory_iterator()); }

// A window's four geometry lines as the file holds them.
std::string Lines(const std::string& window, int px, int py, int width, int height) {
  return window + "px=" + std::to_string(px) + "\r\n" + window + "py=" + std::to_string(py) + "\r\n" + window +
         "width=" + std::to_string(width) + "\r\n" + window + "height=" + std::to_string(height) + "\r\n";
}

TEST(SettingsFile, PathIsBesideTheExecutableOrInTheCurrentDirectoryAndNeverCut) {
  const std::string bin = "/opt/m/bin/morvex";
  const std::string fits = "/" + std::string(499 - 1 - 11, 'd');  // 499 characters with "/morvex.ini"
  const struct {
    std::string commandLine, currentDirectory, moduleFileName;
    bool noFile;
    std::string settingsPath;  // empty: refused
  } cases[] = {
      {bin + " /home/u/a.wav", "/home/u", bin, false, "/opt/m/bin/morvex.ini"},
      {"./morvex My.EXE.wav", "/home/u/b", "/home/u/b/morvex", false, "/home/u/b/morvex.ini"},
      {bin, "/home/u/music", bin, true, "/home/u/music/morvex.ini"},
      {bin, "/", bin, true, "/morvex.ini"},
      {"morvex a.wav", "/home/u", "morvex", false, "/home/u/morvex.ini"},  // no directory known
      {"/usr/bin/morvex", "/" + std::string(495, 'd'), "/usr/bin/morvex", true, ""},
      {"/usr/bin/morvex", fits, "/usr/bin/morvex", true, fits + "/morvex.ini"},
      {"x a.wav", "/", "/" + std::string(600, 'p') + "/morvex", false, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DeriveSettingsPath(c.commandLine, c.currentDirectory, c.moduleFileName, c.noFile).settingsPath,
              c.settingsPath)
        << c.commandLine;
  }
}

class SettingsFileTest : public testing::Test {
 protected:
  // A fresh record loaded from a file holding `text`.
  SettingsRecord& Load(const std::string& text) {
    settings_ = std::make_unique<SettingsRecord>();
    LoadSettings(*settings_, dir_.Write("start.ini", text).c_str());
    return *settings_;
  }
  bool Save(const fs::path& path) { return SaveSettings(*settings_, path.c_str(), TypicalDesktop()); }
  test_support::TempDir dir_;
  std::unique_ptr<SettingsRecord> settings_ = std::make_unique<SettingsRecord>();
};

TEST_F(SettingsFileTest, OnlyExactKeysCountAnywhereInTheFileWithEitherLineEndAndLongLinesInPieces) {
  LoadSettings(*settings_, (dir_.path() / "none.ini").c_str());
  LoadSettings(*settings_, "");
  EXPECT_EQ(settings_->mainwindowpx, 290) << "a missing file leaves the defaults";
  KeyboardShortcutsEnabled = 0;
  // 299 characters fill one read; the rest of the line is read as a line of its own.
  const SettingsRecord& s = Load(
      "[wav]\r\nmainwindowpx=50\r\nsgcolor =0\r\n SGCOLOR=0\r\nSgColor=0\r\nsgliner\r\n//playfreqoptional=44100\r\n"
      "/sgunderline=1\r\nfftsample=1024\nfftradix4flag=1\r\n[general]\r\nlevelmetertype=3\nwavwindowsleeptime=7\n" +
      std::string(299, 'x') + "sgpeakshow=1\r\n" + std::string(5000, '=') + "\r\nkeyboardshortcut=1");
  EXPECT_EQ(s.remembered.mainwindowpx, 50);
  EXPECT_EQ(s.remembered.mainwindowpy, 155);  // not in the file
  const std::pair<std::atomic<int32_t> S::*, int32_t> values[] = {
      {&S::mainwindowpx, 50},          {&S::sgcolor, 1},         {&S::sgliner, 0},           {&S::playfreqoptional, 0},
      {&S::sgunderline, 0},            {&S::sgpeakshow, 1},      {&S::fftsampleRequested, 1024},
      {&S::fftradix4flagRequested, 1}, {&S::levelmetertype, 3},  {&S::wavwindowsleeptime, 7}};
  for (const auto& [field, value] : values) EXPECT_EQ(s.*field, value);
  EXPECT_EQ(KeyboardShortcutsEnabled, 1) << "keyboardshortcut=1 switches the shortcuts on";
  KeyboardShortcutsEnabled = 0;
}

TEST_F(SettingsFileTest, ValuesAreTheirLeadingNumberOrTheDefaultWhereTheProgramCannotRunWithIt) {
  const struct {
    const char* line;
    std::atomic<int32_t> S::*field;
    int32_t expected;
  } cases[] = {
      {"fftwindowpx=  -12abc", &S::fftwindowpx, -12}, {"sgcolor=abc", &S::sgcolor, 0},
      {"fftwindowpy=99999999999", &S::fftwindowpy, INT32_MAX}, {"vswindowpx=-99999999999", &S::vswindowpx, INT32_MIN},
      {"zerofill=3", &S::zerofill, 1}, {"zerofill=4", &S::zerofill, 4}, {"fftsample=32", &S::fftsample, 2048},
      {"fftsample=1000", &S::fftsampleRequested, 2048}, {"fftsample=65536", &S::fftsample, 2048},
      {"fftsample=64", &S::fftsample, 64}, {"fftgraphmagnified=0", &S::fftgraphmagnified, 20},
      {"sggraphmagnified=1", &S::sggraphmagnified, 1}, {"fftwindowsleeptime=-1", &S::fftwindowsleeptime, 5},
      {"fftwindowsleeptime=0", &S::fftwindowsleeptime, 0}, {"levelmetertype=6", &S::levelmetertype, 1},
      {"levelmetertype=-1", &S::levelmetertype, 1}, {"levelmetertype=5", &S::levelmetertype, 5},
      {"downrateforfft=3", &S::downrateforfft, 0}, {"playfreqoptional=-8000", &S::playfreqoptional, 0},
      {"vecscpsample=0", &S::vecscpsample, 0},  // odd but safe: kept
  };
  for (const auto& c : cases) EXPECT_EQ(Load(c.line).*c.field, c.expected) << c.line;
}

TEST_F(SettingsFileTest, GeometryIsLiveUnlessMaximizedFarOffScreenOrKeptByTheSetting) {
  const std::string place = "mainwindowpx=40\r\nmainwindowpy=41\r\nmainwindowwidth=333\r\n";
  const struct {
    std::string file;
    LiveWindow window;
    int px, py, width, height;
  } cases[] = {
      {"", Shown(0, 0, 1936, 1055), 300, 155, 0, 0},  // maximized: the remembered defaults
      {"mainwindowpx=50", Shown(120, 80, 620, 380), 120, 80, 500, 300},
      {place, Shown(-32000, -32000, -31840, -31972), 40, 41, 333, 400},  // minimized
      {place, Shown(1999, 10, 2099, 110), 1999, 10, 100, 100},
      {place, Shown(2000, 10, 2100, 110), 40, 41, 333, 400},
      {place, Shown(-999, 10, -899, 110), -999, 10, 100, 100},
      {place, Shown(-1000, 10, -900, 110), 40, 41, 333, 400},
      {place + "withoutsavewindowsetting=1", Shown(120, 80, 620, 380), 40, 41, 333, 0},
      {place, LiveWindow{}, 40, 41, 333, 400},  // never created
  };
  for (const auto& c : cases) {
    LiveGeometry live = TypicalDesktop();
    live.main = c.window;
    EXPECT_NE(FormatSettings(Load(c.file), live).find(Lines("mainwindow", c.px, c.py, c.width, c.height)),
              std::string::npos)
        << c.file << " " << c.window.rect.left;
  }
  LiveGeometry mono = TypicalDesktop();
  mono.channels = 1;
  mono.vs.rect = {10, 10, 20, 20};
  EXPECT_NE(FormatSettings(Load("vswindowstop=0\r\nvswindowpx=77\r\n"), mono)
                .find(Lines("vswindow", 77, 0, 172, 162) + "vswindowstop=0\r\n"),
            std::string::npos)
      << "a one-channel source's vectorscope keeps its place and adds no client size";
}

// The window function is the line's first character if printable, else 'f'; a line end where the
// letter belongs must not change the file on the way back.
TEST_F(SettingsFileTest, AWrittenFileReadsBackToTheSameSettingsWithAPrintableWindowFunction) {
  const std::string path = (dir_.path() / "morvex.ini").string();
  const LiveGeometry live = TypicalDesktop();
  const std::pair<const char*, char> wfkinds[] = {{"wfkind=hanning", 'h'}, {"wfkind=", 'f'}, {"wfkind=\rb", 'f'},
                                                  {"wfkind=\x01z", 'f'}, {"wfkind=\xc3\xa4", 'f'}, {"wfkind=\x7f", 'f'},
                                                  {"wfkind= ", ' '}};
  for (const auto& [wfkind, letter] : wfkinds) {
    WindowRebuild = 0;
    SettingsRecord& s = Load(std::string(wfkind) + "\r\nmainwindowparafull=1\r\nfftsample=512\r\nfftradix4flag=1\r\n" +
                             "downrateforfft=4\r\nlevelmetertype=5\r\nwavgphffts=1\r\nvswindowstop=0\r\n");
    EXPECT_EQ(s.wfkind, letter) << wfkind;
    EXPECT_EQ(WindowRebuild, 1) << "the window table is made again";
    s.fftsampleRequested = 8192;  // chosen in a menu, not yet in effect
    s.playfreqoptional = 44100;
    s.zerofill = 4;
    ASSERT_TRUE(Save(path));
    const std::string written = ReadFileBytes(path);
    EXPECT_EQ(written, FormatSettings(s, live));
    EXPECT_NE(written.find("\r\nfftsample=512\r\n"), std::string::npos);
    EXPECT_NE(written.find("\r\n//playfreqoptional=44100\r\n"), std::string::npos);
    EXPECT_EQ(written.find("zerofill"), std::string::npos);
    auto again = std::make_unique<SettingsRecord>();
    LoadSettings(*again, path.c_str());
    EXPECT_EQ(again->playfreqoptional, 0);  // a comment for the reader only
    again->playfreqoptional = 44100;
    EXPECT_EQ(FormatSettings(*again, live), written) << wfkind;
  }
}

TEST_F(SettingsFileTest, TheFileIsReplacedThroughItsLinksOrRewrittenWhereOnlyItIsWritable) {
  const std::string expected = FormatSettings(*settings_, TypicalDesktop());
  const fs::perms ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
  const std::string plain = dir_.Write("morvex.ini", "old");
  fs::permissions(plain, ownerOnly);
  ASSERT_TRUE(Save(plain));
  EXPECT_EQ(ReadFileBytes(plain), expected);
  EXPECT_EQ(fs::status(plain).permissions(), ownerOnly);
  // A link to a link: both stay links, the last target takes the settings.
  fs::create_directory(dir_.path() / "real");
  const std::string target = dir_.Write("real/settings.ini", "old");
  fs::create_symlink("real/settings.ini", dir_.path() / "hop.ini");
  fs::create_symlink(dir_.path() / "hop.ini", dir_.path() / "linked.ini");
  ASSERT_TRUE(Save(dir_.path() / "linked.ini"));
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir_.path() / "linked.ini")));
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir_.path() / "hop.ini")));
  EXPECT_EQ(ReadFileBytes(target), expected);
  // No temporary file can be made beside it: rewritten where it is, cut to the new length.
  const std::string fixed = dir_.Write("fixed.ini", std::string(5000, 'x'));
  fs::create_directory(dir_.path() / ("fixed.ini." + std::to_string(getpid()) + ".tmp"));
  ASSERT_TRUE(Save(fixed));
  EXPECT_EQ(ReadFileBytes(fixed), expected);
  EXPECT_FALSE(Save(dir_.path() / "no such dir" / "morvex.ini"));
  EXPECT_FALSE(Save(""));
  // morvex.ini, real, hop.ini, linked.ini, fixed.ini and the blocking folder: no temporary file left.
  EXPECT_EQ(EntriesIn(dir_.path()), 6);
}

TEST_F(SettingsFileTest, AWriteThatFailsPartWayLeavesTheOldFileWhole) {
  const std::string path = dir_.Write("morvex.ini", "old contents\r\n");
  // A file size limit stops the write part way, as a full disk does.
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  const rlimit unchanged = limit;
  limit.rlim_cur = 100;
  signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limit);
  const bool saved = Save(path);
  setrlimit(RLIMIT_FSIZE, &unchanged);
  signal(SIGXFSZ, SIG_DFL);
  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadFileBytes(path), "old contents\r\n");
  EXPECT_EQ(EntriesIn(dir_.path()), 1) << "a temporary file left";
}

TEST_F(SettingsFileTest, TwoInstancesClosingTogetherEachLeaveAWholeFile) {
  const std::string path = dir_.Write("morvex.ini", "old");
  SettingsRecord other;
  other.sgcolor = 0;
  const std::string texts[] = {FormatSettings(*settings_, TypicalDesktop()), FormatSettings(other, TypicalDesktop())};
  ASSERT_NE(texts[0], texts[1]);
  const SettingsRecord* records[] = {settings_.get(), &other};
  pid_t writers[2];
  for (int i = 0; i < 2; ++i) {
    writers[i] = fork();
    ASSERT_GE(writers[i], 0);
    if (writers[i] == 0) {
      int failed = 0;
      for (int round = 0; round < 300; ++round) failed += SaveSettings(*records[i], path.c_str(), TypicalDesktop()) ? 0 : 1;
      _exit(failed == 0 ? 0 : 1);
    }
  }
  // A mixed file ends the looking, not the test: the writers are still waited for below.
  for (int look = 0; look < 300; ++look) {
    const std::string seen = ReadFileBytes(path);
    const bool whole = seen == "old" || seen == texts[0] || seen == texts[1];
    EXPECT_TRUE(whole) << "a mixed file of " << seen.size() << " bytes";
    if (!whole) break;
  }
  for (const pid_t writer : writers) {
    int status = 0;
    waitpid(writer, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
  }
  const std::string last = ReadFileBytes(path);
  EXPECT_TRUE(last == texts[0] || last == texts[1]);
  EXPECT_EQ(EntriesIn(dir_.path()), 1) << "a temporary file left";
}

}  // namespace
