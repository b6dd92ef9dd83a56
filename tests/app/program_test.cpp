// The program as a whole, started without a display: its failure messages and exit codes at
// start-up, and the settings file it leaves after a run.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>

#include "support/program_run.h"
#include "support/temp_dir.h"
#include "support/wav_bytes.h"

namespace {

using namespace std::chrono_literals;
using test_support::Bytes;
using test_support::FmtFields;
using test_support::ProgramRun;
using test_support::TempDir;

Bytes SilentStereo(int bytes) { return test_support::CanonicalWav(FmtFields{}, Bytes(static_cast<size_t>(bytes), 0)); }

Bytes Truncated(Bytes bytes, size_t size) {
  bytes.resize(size);
  return bytes;
}

struct Refusal {
  const char* name;
  Bytes file;
  const char* message;
};

TEST(ProgramStartTest, WithoutAFileItSaysSoAndExitsOne) {
  TempDir dir;
  ProgramRun run(dir, {});
  const auto result = run.Wait(5s);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.standardError.find("[error] file名をget出来ませんでした."), std::string::npos) << result.standardError;
  EXPECT_LT(result.seconds, 2.0);
}

TEST(ProgramStartTest, AMissingFileIsNamedInTheMessage) {
  TempDir dir;
  ProgramRun run(dir, {"no such.wav"});
  const auto result = run.Wait(5s);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.standardError.find("dont open wavfile(no such.wav)"), std::string::npos) << result.standardError;
}

TEST(ProgramStartTest, RefusedHeadersGiveTheirMessageAndExitOne) {
  Bytes rifx = SilentStereo(64);
  rifx[3] = 'X';
  Bytes listFirst;
  test_support::PutText(listFirst, "RIFF");
  test_support::PutLe(listFirst, 0, 4);
  test_support::PutText(listFirst, "WAVELIST");
  test_support::PutLe(listFirst, 4, 4);
  test_support::PutText(listFirst, "INFOfmt ");
  FmtFields floating;
  floating.tag = 3;
  floating.bits = 32;
  FmtFields deep;
  deep.bits = 24;
  FmtFields extensible;
  extensible.tag = 0xFFFE;
  const Refusal cases[] = {
      {"rifx.wav", rifx, "\n\nnot a RIFF file."},
      {"list.wav", listFirst, "\n\nnot a WAVE file."},
      {"float.wav", test_support::CanonicalWav(floating, Bytes(64, 0)), "\nNot renia format."},
      {"ext.wav", test_support::CanonicalWav(extensible, Bytes(64, 0)), "\nNot renia format."},
      {"empty.wav", Bytes{}, "\n\nnot a RIFF file."},
      {"truncated.wav", Truncated(SilentStereo(0), 30), "\n\nnot a WAVE file."},
      {"nodata.wav", Truncated(SilentStereo(0), 36), "\n\nnot a WAVE file."},
      {"24bit.wav", test_support::CanonicalWav(deep, Bytes(60, 0)), "\n\nunsupported WAVE format."},
  };
  for (const Refusal& c : cases) {
    TempDir dir;
    const std::string path = dir.Write(c.name, c.file);
    ProgramRun run(dir, {path});
    const auto result = run.Wait(5s);
    EXPECT_EQ(result.exitCode, 1) << c.name;
    EXPECT_NE(result.standardError.find(std::string("[] ") + c.message), std::string::npos)
        << c.name << ": " << result.standardError;
    EXPECT_LT(result.seconds, 2.0) << c.name;
  }
}

TEST(ProgramRunTest, RunsUntilTerminatedAndLeavesTheSettingsFileBesideItself) {
  TempDir dir;
  const std::string wav = dir.Write("song.wav", SilentStereo(44100 * 4 * 3));
  ProgramRun run(dir, {wav});
  ASSERT_TRUE(run.RunsFor(700ms)) << "the program ended before it was asked to";
  run.Signal(SIGTERM);
  const auto result = run.Wait(5s);
  ASSERT_EQ(result.exitCode, 0) << result.standardError;
  const std::string ini = test_support::ReadFileBytes(run.SettingsFile());
  ASSERT_FALSE(ini.empty());
  EXPECT_EQ(ini.rfind("[general]\r\nmainwindowpx=290\r\nmainwindowpy=160\r\n", 0), 0u) << ini.substr(0, 80);
  EXPECT_NE(ini.find("\r\n//playfreqoptional=44100\r\n"), std::string::npos);
  EXPECT_NE(ini.find("\r\n[fft&sg]\r\nfftsample=2048\r\n"), std::string::npos);
  EXPECT_TRUE(ini.ends_with("\r\n[wav]\r\nwavgphffts=0\r\nwavwindowsleeptime=20")) << ini.substr(ini.size() - 50);
  // No bare line feeds: every line end is CR LF.
  for (size_t i = 0; i < ini.size(); ++i) {
    if (ini[i] == '\n') {
      ASSERT_TRUE(i > 0 && ini[i - 1] == '\r') << "bare LF at " << i;
    }
  }
}

TEST(ProgramRunTest, ASettingsFileWithOwnValuesSurvivesARun) {
  TempDir dir;
  const std::string wav = dir.Write("song.wav", SilentStereo(44100 * 4 * 3));
  // First run: let the program write its file, then change values and run again.
  {
    ProgramRun run(dir, {wav});
    ASSERT_TRUE(run.RunsFor(500ms));
    run.Signal(SIGTERM);
    ASSERT_EQ(run.Wait(5s).exitCode, 0);
  }
  std::string ini = test_support::ReadFileBytes((dir.path() / "morvex.ini").string());
  auto replace = [&ini](const std::string& from, const std::string& to) {
    const size_t at = ini.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    ini.replace(at, from.size(), to);
  };
  replace("fftsample=2048", "fftsample=4096");
  replace("wfkind=f", "wfkind=h");
  replace("sgcolor=1", "sgcolor=0");
  replace("withoutsavewindowsetting=0", "withoutsavewindowsetting=1");
  replace("processprioritylowonstartup=1", "processprioritylowonstartup=0");
  dir.Write("morvex.ini", ini);
  {
    ProgramRun run(dir, {wav});
    ASSERT_TRUE(run.RunsFor(500ms));
    run.Signal(SIGTERM);
    ASSERT_EQ(run.Wait(5s).exitCode, 0);
  }
  EXPECT_EQ(test_support::ReadFileBytes((dir.path() / "morvex.ini").string()), ini);
}

}  // namespace
