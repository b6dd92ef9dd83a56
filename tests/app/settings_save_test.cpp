#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "support/temp_dir.h"

namespace {

using test_support::ReadFileBytes;
using test_support::TempDir;

LiveWindow Shown(LONG left, LONG top, LONG right, LONG bottom) {
  LiveWindow w;
  w.exists = true;
  w.rect = {left, top, right, bottom};
  w.clientWidth = right - left - 16;
  w.clientHeight = bottom - top - 38;
  return w;
}

LiveGeometry TypicalDesktop() {
  LiveGeometry live;
  live.main = Shown(100, 50, 700, 450);
  live.fft = Shown(0, 340, 280, 555);
  live.sg = Shown(0, 115, 280, 335);
  live.vs = Shown(300, 0, 472, 162);
  live.wav = Shown(475, 0, 795, 160);
  live.fullScreenClientWidth = 1920;
  live.fullScreenClientHeight = 1017;
  live.channels = 2;
  return live;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

// The four geometry lines of one window, "px,py,width,height".
std::string GeometryOf(const std::string& text, const std::string& window) {
  std::string out;
  for (const char* key : {"px", "py", "width", "height"}) {
    for (const std::string& line : Lines(text)) {
      if (line.rfind(window + key + "=", 0) == 0) out += (out.empty() ? "" : ",") + line.substr(line.find('=') + 1);
    }
  }
  return out;
}

bool HasLine(const std::string& text, const std::string& line) {
  for (const std::string& l : Lines(text)) {
    if (l == line) return true;
  }
  return false;
}

class SettingsSaveTest : public testing::Test {
 protected:
  SettingsRecord& Loaded(const std::string& text) {
    LoadSettings(*settings_, dir_.Write("start.ini", text).c_str());
    return *settings_;
  }
  TempDir dir_;
  std::unique_ptr<SettingsRecord> settings_ = std::make_unique<SettingsRecord>();
};

TEST_F(SettingsSaveTest, DefaultsAreWrittenInTheirOrderWithCrLf) {
  const std::vector<std::string> expected = {
      "[general]", "mainwindowpx=100", "mainwindowpy=50", "mainwindowwidth=600", "mainwindowheight=400",
      "fftwindowpx=0", "fftwindowpy=340", "fftwindowwidth=280", "fftwindowheight=215", "sgwindowpx=0",
      "sgwindowpy=115", "sgwindowwidth=280", "sgwindowheight=220", "vswindowpx=300", "vswindowpy=0",
      "vswindowwidth=172", "vswindowheight=162", "vswindowstop=1", "wavwindowpx=475", "wavwindowpy=0",
      "wavwindowwidth=320", "wavwindowheight=160", "wavwindowstop=1", "mainwindowparafull=0",
      "mainwindowinvailintervalvariable=10", "wavblockfanticonst=23", "virtualscreendynamicmemaloc=1",
      "leveltimercalareaper=400", "keyboardshortcut=0", "withoutsavewindowsetting=0", "iconselectinini=101",
      "levelmetertype=1", "//playfreqoptional=0", "sgfftclosebuttondisable=1", "processprioritylowonstartup=1",
      "[fft&sg]", "fftsample=2048", "fftwindowsleeptime=5", "wfkind=f", "fftgraphmagnified=20",
      "sggraphmagnified=50", "sggraphreturn=1", "sgspectnowait=0", "sgspectmanydraw=1", "sgliner=0", "sgcolor=1",
      "sginterpolate=1", "sggraphtype=1", "vecscpsample=300", "sgunderline=0", "sgmousecurhzdis=0",
      "fftgraphmodelight=1", "pinknoizeflatingfilter=1", "fftradix4flag=0", "loudnessrevice=0",
      "fftgraph0hzdraw=1", "sgwindowlps=0", "sgpeakshow=0", "sghzdraw=0", "smoothingfilter=2", "fftdrawold=1",
      "fftdrawline=0", "sgfftpointshow=0", "sgscaleshowalltime=0", "downrateforfft=0", "sgkeycshow=0", "[wav]",
      "wavgphffts=0", "wavwindowsleeptime=20"};
  std::string file;
  for (const std::string& line : expected) file += (file.empty() ? "" : "\r\n") + line;
  EXPECT_EQ(FormatSettings(*settings_, TypicalDesktop()), file);
}

TEST_F(SettingsSaveTest, AMaximizedWindowKeepsTheRememberedGeometry) {
  LiveGeometry live = TypicalDesktop();
  live.main.clientWidth = 1920;
  live.main.clientHeight = 1017;
  EXPECT_EQ(GeometryOf(FormatSettings(*settings_, live), "mainwindow"), "300,155,0,0");
}

TEST_F(SettingsSaveTest, AMovedWindowIsWrittenWhereItIs) {
  LiveGeometry live = TypicalDesktop();
  live.main = Shown(120, 80, 620, 380);
  EXPECT_EQ(GeometryOf(FormatSettings(Loaded("mainwindowpx=50\r\n"), live), "mainwindow"), "120,80,500,300");
}

TEST_F(SettingsSaveTest, AWindowFarOffScreenKeepsItsRememberedPlaceAndCurrentSize) {
  LiveGeometry live = TypicalDesktop();
  live.fft = Shown(-32000, -32000, -31840, -31972);  // minimized
  SettingsRecord& s = Loaded("fftwindowpx=40\r\nfftwindowpy=41\r\n");
  s.fftwindowwidth = 333;
  EXPECT_EQ(GeometryOf(FormatSettings(s, live), "fftwindow"), "40,41,333,215");
  live.fft = Shown(1999, 10, 2099, 110);
  EXPECT_EQ(GeometryOf(FormatSettings(s, live), "fftwindow"), "1999,10,100,100");
  live.fft = Shown(2000, 10, 2100, 110);
  EXPECT_EQ(GeometryOf(FormatSettings(s, live), "fftwindow"), "40,41,333,215");
  live.fft = Shown(-999, 10, -899, 110);
  EXPECT_EQ(GeometryOf(FormatSettings(s, live), "fftwindow"), "-999,10,100,100");
  live.fft = Shown(-1000, 10, -900, 110);
  EXPECT_EQ(GeometryOf(FormatSettings(s, live), "fftwindow"), "40,41,333,215");
}

TEST_F(SettingsSaveTest, WithoutSaveWindowSettingEveryWindowKeepsWhatWasRead) {
  const SettingsRecord& s =
      Loaded("withoutsavewindowsetting=1\r\nvswindowstop=0\r\nwavwindowstop=0\r\nsgwindowpx=9\r\n");
  const std::string text = FormatSettings(s, TypicalDesktop());
  EXPECT_EQ(GeometryOf(text, "mainwindow"), "300,155,0,0");
  EXPECT_EQ(GeometryOf(text, "fftwindow"), "0,340,0,0");
  EXPECT_EQ(GeometryOf(text, "sgwindow"), "9,115,0,0");
  EXPECT_EQ(GeometryOf(text, "vswindow"), "300,0,0,0");
  EXPECT_EQ(GeometryOf(text, "wavwindow"), "475,0,0,0");
}

TEST_F(SettingsSaveTest, AShownVectorscopeOfAStereoSourceWritesItsClientSize) {
  const std::string text = FormatSettings(Loaded("vswindowstop=0\r\n"), TypicalDesktop());
  EXPECT_EQ(GeometryOf(text, "vswindow"), "300,0,172,162");
  const std::vector<std::string> lines = Lines(text);
  const auto at = std::find(lines.begin(), lines.end(), "vswindowheight=162");
  ASSERT_NE(at, lines.end());
  EXPECT_EQ(*(at + 1), "vscliantwidth(do not use)=156");
  EXPECT_EQ(*(at + 2), "vscliantheight(do not use)=124");
  EXPECT_EQ(*(at + 3), "vswindowstop=0");
}

TEST_F(SettingsSaveTest, AMonoSourceWritesTheVectorscopeAsItWasSet) {
  LiveGeometry live = TypicalDesktop();
  live.channels = 1;
  live.vs.rect = {10, 10, 20, 20};
  const std::string text = FormatSettings(Loaded("vswindowstop=0\r\nvswindowpx=77\r\n"), live);
  EXPECT_EQ(GeometryOf(text, "vswindow"), "77,0,172,162");
  EXPECT_EQ(text.find("vscliant"), std::string::npos);
  EXPECT_TRUE(HasLine(text, "vswindowstop=0"));
}

TEST_F(SettingsSaveTest, AShownWaveformWritesItsClientSize) {
  const std::string text = FormatSettings(Loaded("wavwindowstop=0\r\n"), TypicalDesktop());
  EXPECT_EQ(GeometryOf(text, "wavwindow"), "475,0,320,160");
  EXPECT_TRUE(HasLine(text, "wavcliantwidth(do not use)=304"));
  EXPECT_TRUE(HasLine(text, "wavcliantheight(do not use)=122"));
}

TEST_F(SettingsSaveTest, AWindowThatDoesNotExistKeepsItsCurrentValues) {
  LiveGeometry live = TypicalDesktop();
  live.sg = LiveWindow{};
  EXPECT_EQ(GeometryOf(FormatSettings(Loaded("sgwindowpx=5\r\n"), live), "sgwindow"), "5,115,280,220");
}

TEST_F(SettingsSaveTest, TheSizeInEffectIsWrittenNotTheMenuChoice) {
  SettingsRecord& s = *settings_;
  s.fftsampleRequested = 8192;
  s.fftradix4flagRequested = 1;
  const std::string text = FormatSettings(s, TypicalDesktop());
  EXPECT_TRUE(HasLine(text, "fftsample=2048"));
  EXPECT_TRUE(HasLine(text, "fftradix4flag=0"));
}

TEST_F(SettingsSaveTest, PlaybackRateIsAOneWayCommentAndZeroFillIsNotWritten) {
  SettingsRecord& s = *settings_;
  s.playfreqoptional = 44100;
  s.zerofill = 4;
  const std::string path = (dir_.path() / "morvex.ini").string();
  ASSERT_TRUE(SaveSettings(s, path.c_str(), TypicalDesktop()));
  const std::string text = ReadFileBytes(path);
  EXPECT_TRUE(HasLine(text, "//playfreqoptional=44100"));
  EXPECT_EQ(text.find("zerofill"), std::string::npos);
  auto again = std::make_unique<SettingsRecord>();
  LoadSettings(*again, path.c_str());
  EXPECT_EQ(again->playfreqoptional, 0);
  EXPECT_EQ(again->zerofill, 1);
}

TEST_F(SettingsSaveTest, AWrittenFileReadsBackToTheSameSettings) {
  const SettingsRecord& s = Loaded(
      "mainwindowparafull=1\r\nwfkind=b\r\nfftsample=512\r\nfftradix4flag=1\r\nsggraphmagnified=400\r\n"
      "downrateforfft=4\r\nlevelmetertype=5\r\nwavgphffts=1\r\nwavwindowsleeptime=50\r\nvswindowstop=0\r\n"
      "iconselectinini=102\r\nsgkeycshow=1\r\nsmoothingfilter=0\r\n");
  const std::string path = (dir_.path() / "morvex.ini").string();
  const LiveGeometry live = TypicalDesktop();
  ASSERT_TRUE(SaveSettings(s, path.c_str(), live));
  const std::string written = ReadFileBytes(path);
  EXPECT_EQ(written, FormatSettings(s, live));
  EXPECT_NE(written.back(), '\n');
  auto again = std::make_unique<SettingsRecord>();
  LoadSettings(*again, path.c_str());
  EXPECT_EQ(FormatSettings(*again, live), written);
  EXPECT_EQ(again->wfkind, 'b');
  EXPECT_EQ(again->fftsample, 512);
}

TEST_F(SettingsSaveTest, TheFileIsReplacedWholeOrNotAtAll) {
  const std::string path = dir_.Write("morvex.ini", std::string("old contents\r\n"));
  ASSERT_TRUE(SaveSettings(*settings_, path.c_str(), TypicalDesktop()));
  EXPECT_EQ(ReadFileBytes(path), FormatSettings(*settings_, TypicalDesktop()));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), std::filesystem::directory_iterator()),
            1);  // no temporary file left behind

  const std::string unwritable = (dir_.path() / "no such dir" / "morvex.ini").string();
  EXPECT_FALSE(SaveSettings(*settings_, unwritable.c_str(), TypicalDesktop()));
  EXPECT_FALSE(std::filesystem::exists(unwritable));
  EXPECT_FALSE(SaveSettings(*settings_, "", TypicalDesktop()));
}

}  // namespace
