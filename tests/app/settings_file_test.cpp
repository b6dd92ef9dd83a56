// The settings file: where it lives, what a load takes from it, what a save writes and how it
// replaces the old file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <memory>
#include <string>

#include "analysis/window_function.h"
#include "app/settings_file.h"
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

// A line of the file and the value it gives one field.
struct LineValue {
  const char* line;
  std::atomic<int32_t> S::*field;
  int32_t value;
};

TEST_F(SettingsFileTest, ValuesAreTheirLeadingNumberOrTheDefaultWhereTheProgramCannotRunWithIt) {
  const LineValue cases[] = {
      {"fftwindowpx=  -12abc", &S::fftwindowpx, -12}, {"sgcolor=abc", &S::sgcolor, 0},
      {"fftwindowpy=99999999999", &S::fftwindowpy, INT32_MAX}, {"vswindowpx=-99999999999", &S::vswindowpx, INT32_MIN},
      {"zerofill=3", &S::zerofill, 1}, {"fftsample=32", &S::fftsample, 2048},
      {"fftsample=1000", &S::fftsampleRequested, 2048}, {"fftsample=65536", &S::fftsample, 2048},
      {"fftsample=64", &S::fftsample, 64}, {"fftgraphmagnified=0", &S::fftgraphmagnified, 20},
      {"sggraphmagnified=1", &S::sggraphmagnified, 1}, {"fftwindowsleeptime=-1", &S::fftwindowsleeptime, 5},
      {"fftwindowsleeptime=0", &S::fftwindowsleeptime, 0}, {"levelmetertype=6", &S::levelmetertype, 1},
      {"levelmetertype=-1", &S::levelmetertype, 1}, {"downrateforfft=3", &S::downrateforfft, 0},
      {"playfreqoptional=-8000", &S::playfreqoptional, 0}, {"wavwindowstop=0", &S::wavwindowstop, 0},
      {"vecscpsample=0", &S::vecscpsample, 0},  // odd but safe: kept
  };
  for (const auto& c : cases) EXPECT_EQ(Load(c.line).*c.field, c.value) << c.line;
}

// Maximized and minimized windows are the whole-text tests' (the FFT and spectrogram windows there).
TEST_F(SettingsFileTest, GeometryIsLiveUnlessFarOffScreenNeverShownOrKeptByTheSetting) {
  const std::string place = "mainwindowpx=40\r\nmainwindowpy=41\r\nmainwindowwidth=333\r\n";
  const struct {
    std::string file;
    LiveWindow window;
    int px, py, width, height;
  } cases[] = {
      {"mainwindowpx=50", Shown(120, 80, 620, 380), 120, 80, 500, 300},
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

// The five windows at exit: the main window where the user put it, the FFT window maximized,
// the spectrogram minimized, the vectorscope and the waveform window where the user put them.
LiveGeometry EveryWayOfLeaving() {
  return {Shown(101, 52, 704, 457), Shown(-8, -8, 1928, 1047), Shown(-32000, -32000, -31840, -31972),
          Shown(301, 1, 474, 164), Shown(476, 2, 797, 163), 1920, 1017, 2};
}

TEST_F(SettingsFileTest, TheDefaultSettingsAreWrittenAsTheirWholeText) {
  const std::string path = (dir_.path() / "morvex.ini").string();
  ASSERT_TRUE(SaveSettings(*settings_, path.c_str(), EveryWayOfLeaving()));
  EXPECT_EQ(ReadFileBytes(path),
            "[general]\r\n"
            "mainwindowpx=101\r\nmainwindowpy=52\r\nmainwindowwidth=603\r\nmainwindowheight=405\r\n"
            "fftwindowpx=0\r\nfftwindowpy=340\r\nfftwindowwidth=0\r\nfftwindowheight=0\r\n"  // remembered
            "sgwindowpx=0\r\nsgwindowpy=115\r\nsgwindowwidth=280\r\nsgwindowheight=220\r\n"
            "vswindowpx=300\r\nvswindowpy=0\r\nvswindowwidth=172\r\nvswindowheight=162\r\nvswindowstop=1\r\n"
            "wavwindowpx=475\r\nwavwindowpy=0\r\nwavwindowwidth=320\r\nwavwindowheight=160\r\nwavwindowstop=1\r\n"
            "mainwindowparafull=0\r\nmainwindowinvailintervalvariable=10\r\nwavblockfanticonst=23\r\n"
            "virtualscreendynamicmemaloc=1\r\nleveltimercalareaper=400\r\nkeyboardshortcut=0\r\n"
            "withoutsavewindowsetting=0\r\niconselectinini=101\r\nlevelmetertype=1\r\n//playfreqoptional=0\r\n"
            "sgfftclosebuttondisable=1\r\nprocessprioritylowonstartup=1\r\n"
            "[fft&sg]\r\n"
            "fftsample=2048\r\nfftwindowsleeptime=5\r\nwfkind=f\r\nfftgraphmagnified=20\r\nsggraphmagnified=50\r\n"
            "sggraphreturn=1\r\nsgspectnowait=0\r\nsgspectmanydraw=1\r\nsgliner=0\r\nsgcolor=1\r\nsginterpolate=1\r\n"
            "sggraphtype=1\r\nvecscpsample=300\r\nsgunderline=0\r\nsgmousecurhzdis=0\r\nfftgraphmodelight=1\r\n"
            "pinknoizeflatingfilter=1\r\nfftradix4flag=0\r\nloudnessrevice=0\r\nfftgraph0hzdraw=1\r\nsgwindowlps=0\r\n"
            "sgpeakshow=0\r\nsghzdraw=0\r\nsmoothingfilter=2\r\nfftdrawold=1\r\nfftdrawline=0\r\nsgfftpointshow=0\r\n"
            "sgscaleshowalltime=0\r\ndownrateforfft=0\r\nsgkeycshow=0\r\n"
            "[wav]\r\n"
            "wavgphffts=0\r\nwavwindowsleeptime=20");
}

// Every key with a value of its own, so that a value read or written under another key's name
// shows. `withoutsavewindowsetting` and `wavwindowstop` keep their defaults: they choose which
// geometry the file gets.
const LineValue kEveryKeyChanged[] = {
    {"mainwindowpx=-7", &S::mainwindowpx, -7}, {"mainwindowpy=8", &S::mainwindowpy, 8},
    {"mainwindowwidth=640", &S::mainwindowwidth, 640}, {"mainwindowheight=480", &S::mainwindowheight, 480},
    {"fftwindowpx=9", &S::fftwindowpx, 9}, {"fftwindowpy=350", &S::fftwindowpy, 350},
    {"fftwindowwidth=290", &S::fftwindowwidth, 290}, {"fftwindowheight=225", &S::fftwindowheight, 225},
    {"sgwindowpx=-11", &S::sgwindowpx, -11}, {"sgwindowpy=125", &S::sgwindowpy, 125},
    {"sgwindowwidth=300", &S::sgwindowwidth, 300}, {"sgwindowheight=230", &S::sgwindowheight, 230},
    {"vswindowpx=310", &S::vswindowpx, 310}, {"vswindowpy=13", &S::vswindowpy, 13},
    {"vswindowwidth=182", &S::vswindowwidth, 182}, {"vswindowheight=172", &S::vswindowheight, 172},
    {"vswindowstop=0", &S::vswindowstop, 0}, {"wavwindowpx=485", &S::wavwindowpx, 485},
    {"wavwindowpy=14", &S::wavwindowpy, 14}, {"wavwindowwidth=330", &S::wavwindowwidth, 330},
    {"wavwindowheight=170", &S::wavwindowheight, 170}, {"mainwindowparafull=2", &S::mainwindowparafull, 2},
    {"mainwindowinvailintervalvariable=1000", &S::mainwindowinvailintervalvariable, 1000},
    {"wavblockfanticonst=17", &S::wavblockfanticonst, 17},
    {"virtualscreendynamicmemaloc=3", &S::virtualscreendynamicmemaloc, 3},
    {"leveltimercalareaper=200", &S::leveltimercalareaper, 200}, {"keyboardshortcut=1", &S::keyboardshortcut, 1},
    {"iconselectinini=102", &S::iconselectinini, 102}, {"levelmetertype=5", &S::levelmetertype, 5},
    {"playfreqoptional=22050", &S::playfreqoptional, 22050},
    {"sgfftclosebuttondisable=4", &S::sgfftclosebuttondisable, 4},
    {"processprioritylowonstartup=6", &S::processprioritylowonstartup, 6}, {"fftsample=512", &S::fftsample, 512},
    {"fftwindowsleeptime=100", &S::fftwindowsleeptime, 100}, {"fftgraphmagnified=5", &S::fftgraphmagnified, 5},
    {"sggraphmagnified=400", &S::sggraphmagnified, 400}, {"sggraphreturn=7", &S::sggraphreturn, 7},
    {"sgspectnowait=8", &S::sgspectnowait, 8}, {"sgspectmanydraw=9", &S::sgspectmanydraw, 9},
    {"sgliner=10", &S::sgliner, 10}, {"sgcolor=11", &S::sgcolor, 11}, {"zerofill=4", &S::zerofill, 4},
    {"sginterpolate=12", &S::sginterpolate, 12}, {"sggraphtype=0", &S::sggraphtype, 0},
    {"vecscpsample=3000", &S::vecscpsample, 3000}, {"sgunderline=15", &S::sgunderline, 15},
    {"sgmousecurhzdis=16", &S::sgmousecurhzdis, 16}, {"fftgraphmodelight=18", &S::fftgraphmodelight, 18},
    {"pinknoizeflatingfilter=19", &S::pinknoizeflatingfilter, 19}, {"fftradix4flag=21", &S::fftradix4flag, 21},
    {"loudnessrevice=22", &S::loudnessrevice, 22}, {"fftgraph0hzdraw=23", &S::fftgraph0hzdraw, 23},
    {"sgwindowlps=24", &S::sgwindowlps, 24}, {"sgpeakshow=25", &S::sgpeakshow, 25},
    {"sghzdraw=26", &S::sghzdraw, 26}, {"smoothingfilter=27", &S::smoothingfilter, 27},
    {"fftdrawold=28", &S::fftdrawold, 28}, {"fftdrawline=29", &S::fftdrawline, 29},
    {"sgfftpointshow=30", &S::sgfftpointshow, 30}, {"sgscaleshowalltime=31", &S::sgscaleshowalltime, 31},
    {"downrateforfft=4", &S::downrateforfft, 4}, {"sgkeycshow=32", &S::sgkeycshow, 32},
    {"wavgphffts=33", &S::wavgphffts, 33}, {"wavwindowsleeptime=50", &S::wavwindowsleeptime, 50},
};

TEST_F(SettingsFileTest, AFileWithEveryKeyChangedIsReadAndWrittenBackAsItsWholeText) {
  std::string file = "wfkind=h";
  for (const auto& key : kEveryKeyChanged) file += std::string("\r\n") + key.line;
  SettingsRecord& s = Load(file);
  for (const auto& key : kEveryKeyChanged) EXPECT_EQ(s.*key.field, key.value) << key.line;
  EXPECT_EQ(s.wfkind, 'h');
  EXPECT_EQ(s.fftsampleRequested, 512);
  EXPECT_EQ(s.fftradix4flagRequested, 21);
  s.fftsampleRequested = 8192;  // chosen in a menu, not yet in effect
  const std::string path = (dir_.path() / "morvex.ini").string();
  ASSERT_TRUE(SaveSettings(s, path.c_str(), EveryWayOfLeaving()));
  EXPECT_EQ(ReadFileBytes(path),
            "[general]\r\n"
            "mainwindowpx=101\r\nmainwindowpy=52\r\nmainwindowwidth=603\r\nmainwindowheight=405\r\n"
            "fftwindowpx=9\r\nfftwindowpy=350\r\nfftwindowwidth=290\r\nfftwindowheight=225\r\n"
            "sgwindowpx=-11\r\nsgwindowpy=125\r\nsgwindowwidth=300\r\nsgwindowheight=230\r\n"
            "vswindowpx=301\r\nvswindowpy=1\r\nvswindowwidth=173\r\nvswindowheight=163\r\n"
            "vscliantwidth(do not use)=157\r\nvscliantheight(do not use)=125\r\nvswindowstop=0\r\n"
            "wavwindowpx=485\r\nwavwindowpy=14\r\nwavwindowwidth=330\r\nwavwindowheight=170\r\nwavwindowstop=1\r\n"
            "mainwindowparafull=2\r\nmainwindowinvailintervalvariable=1000\r\nwavblockfanticonst=17\r\n"
            "virtualscreendynamicmemaloc=3\r\nleveltimercalareaper=200\r\nkeyboardshortcut=1\r\n"
            "withoutsavewindowsetting=0\r\niconselectinini=102\r\nlevelmetertype=5\r\n//playfreqoptional=22050\r\n"
            "sgfftclosebuttondisable=4\r\nprocessprioritylowonstartup=6\r\n"
            "[fft&sg]\r\n"
            "fftsample=512\r\nfftwindowsleeptime=100\r\nwfkind=h\r\nfftgraphmagnified=5\r\nsggraphmagnified=400\r\n"
            "sggraphreturn=7\r\nsgspectnowait=8\r\nsgspectmanydraw=9\r\nsgliner=10\r\nsgcolor=11\r\nsginterpolate=12\r\n"
            "sggraphtype=0\r\nvecscpsample=3000\r\nsgunderline=15\r\nsgmousecurhzdis=16\r\nfftgraphmodelight=18\r\n"
            "pinknoizeflatingfilter=19\r\nfftradix4flag=21\r\nloudnessrevice=22\r\nfftgraph0hzdraw=23\r\n"
            "sgwindowlps=24\r\nsgpeakshow=25\r\nsghzdraw=26\r\nsmoothingfilter=27\r\nfftdrawold=28\r\nfftdrawline=29\r\n"
            "sgfftpointshow=30\r\nsgscaleshowalltime=31\r\ndownrateforfft=4\r\nsgkeycshow=32\r\n"
            "[wav]\r\n"
            "wavgphffts=33\r\nwavwindowsleeptime=50");
  KeyboardShortcutsEnabled = 0;
}

// The window function is the line's first character if printable, else 'f'; a line end where the
// letter belongs must not change the file on the way back, and the letter asks for a new window table.
TEST_F(SettingsFileTest, TheWindowFunctionIsAPrintableLetterThatReadsBackTheSame) {
  const std::pair<const char*, char> wfkinds[] = {{"wfkind=hanning", 'h'}, {"wfkind=", 'f'}, {"wfkind=\rb", 'f'},
                                                  {"wfkind=\x01z", 'f'}, {"wfkind=\xc3\xa4", 'f'}, {"wfkind=\x7f", 'f'},
                                                  {"wfkind= ", ' '}};
  for (const auto& [wfkind, letter] : wfkinds) {
    WindowRebuild = 0;
    const std::string written = FormatSettings(Load(wfkind), TypicalDesktop());
    EXPECT_EQ(settings_->wfkind, letter) << wfkind;
    EXPECT_EQ(WindowRebuild, 1) << "the window table is made again";
    EXPECT_EQ(FormatSettings(Load(written), TypicalDesktop()), written) << wfkind;
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
