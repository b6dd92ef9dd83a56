#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <iterator>
#include <memory>
#include <string>

#include "app/settings.h"
#include "support/temp_dir.h"

namespace {

using test_support::ReadFileBytes;
using test_support::TempDir;

LiveWindow Shown(LONG left, LONG top, LONG right, LONG bottom) {
  return {true, {left, top, right, bottom}, right - left - 16, bottom - top - 38};
}

LiveGeometry TypicalDesktop() {
  return {Shown(100, 50, 700, 450), Shown(0, 340, 280, 555), Shown(0, 115, 280, 335), Shown(300, 0, 472, 162),
          Shown(475, 0, 795, 160),  1920, 1017, 2};
}

// A window's four geometry lines as the file holds them.
std::string Lines(const std::string& window, int px, int py, int width, int height) {
  return window + "px=" + std::to_string(px) + "\r\n" + window + "py=" + std::to_string(py) + "\r\n" + window +
         "width=" + std::to_string(width) + "\r\n" + window + "height=" + std::to_string(height) + "\r\n";
}

bool HasLine(const std::string& text, const std::string& line) {
  return ("\r\n" + text + "\r\n").find("\r\n" + line + "\r\n") != std::string::npos;
}

class SettingsSaveTest : public testing::Test {
 protected:
  SettingsRecord& Loaded(const std::string& text) {
    settings_ = std::make_unique<SettingsRecord>();
    LoadSettings(*settings_, dir_.Write("start.ini", text).c_str());
    return *settings_;
  }
  bool Save(const std::filesystem::path& path) { return SaveSettings(*settings_, path.c_str(), TypicalDesktop()); }
  TempDir dir_;
  std::unique_ptr<SettingsRecord> settings_ = std::make_unique<SettingsRecord>();
};

TEST_F(SettingsSaveTest, GeometryIsLiveUnlessMaximizedFarOffScreenOrKeptByTheSetting) {
  const std::string place = "mainwindowpx=40\r\nmainwindowpy=41\r\nmainwindowwidth=333\r\n";
  struct Case {
    std::string file;
    LiveWindow window;
    int px, py, width, height;
  };
  const Case cases[] = {
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
  for (const Case& c : cases) {
    LiveGeometry live = TypicalDesktop();
    live.main = c.window;
    EXPECT_NE(FormatSettings(Loaded(c.file), live).find(Lines("mainwindow", c.px, c.py, c.width, c.height)),
              std::string::npos)
        << c.file << " " << c.window.rect.left;
  }
  LiveGeometry mono = TypicalDesktop();
  mono.channels = 1;
  mono.vs.rect = {10, 10, 20, 20};
  EXPECT_NE(FormatSettings(Loaded("vswindowstop=0\r\nvswindowpx=77\r\n"), mono)
                .find(Lines("vswindow", 77, 0, 172, 162) + "vswindowstop=0\r\n"),
            std::string::npos)
      << "a one-channel source's vectorscope keeps its place and adds no client size";
}

TEST_F(SettingsSaveTest, AWrittenFileReadsBackToTheSameSettings) {
  const std::string path = (dir_.path() / "morvex.ini").string();
  const LiveGeometry live = TypicalDesktop();
  // A window-function line with a line end where the letter belongs must not change on the way.
  for (const char* wfkind : {"wfkind=b", "wfkind=\rb", "wfkind=\x01"}) {
    SettingsRecord& s =
        Loaded(std::string(wfkind) + "\r\nmainwindowparafull=1\r\nfftsample=512\r\nfftradix4flag=1\r\n"
                                     "downrateforfft=4\r\nlevelmetertype=5\r\nwavgphffts=1\r\nvswindowstop=0\r\n");
    s.fftsampleRequested = 8192;  // chosen in a menu, not yet in effect
    s.playfreqoptional = 44100;
    s.zerofill = 4;
    ASSERT_TRUE(Save(path));
    const std::string written = ReadFileBytes(path);
    EXPECT_EQ(written, FormatSettings(s, live));
    EXPECT_TRUE(HasLine(written, "fftsample=512"));
    EXPECT_TRUE(HasLine(written, "//playfreqoptional=44100"));
    EXPECT_EQ(written.find("zerofill"), std::string::npos);
    auto again = std::make_unique<SettingsRecord>();
    LoadSettings(*again, path.c_str());
    EXPECT_EQ(again->playfreqoptional, 0);  // a comment for the reader only
    again->playfreqoptional = 44100;
    EXPECT_EQ(FormatSettings(*again, live), written) << wfkind;
  }
}

TEST_F(SettingsSaveTest, TheFileIsReplacedThroughItsLinksOrRewrittenWhereOnlyItIsWritable) {
  namespace fs = std::filesystem;
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
  fs::create_directory(dir_.path() / "fixed.ini.tmp");
  ASSERT_TRUE(Save(fixed));
  EXPECT_EQ(ReadFileBytes(fixed), expected);

  EXPECT_FALSE(Save(dir_.path() / "no such dir" / "morvex.ini"));
  EXPECT_FALSE(Save(""));
  // morvex.ini, real, hop.ini, linked.ini, fixed.ini, fixed.ini.tmp: no temporary file left.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 6);
}

TEST_F(SettingsSaveTest, AWriteThatFailsPartWayLeavesTheOldFileWhole) {
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
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

}  // namespace
