// morvex-render's command line: what it answers and refuses, and the exit codes.
#include <gtest/gtest.h>

#include <filesystem>

#include "render_run.h"
#include "support/wav_bytes.h"

namespace {

using render_test::RunRender;
using test_support::TempDir;

TEST(RenderCommandLine, BadOptionsAndBadFilesGetTheirMessagesAndExitCodes) {
  TempDir dir;
  test_support::FmtFields mono;
  mono.channels = 1;
  const std::string wav = dir.Write("quiet.wav", test_support::CanonicalWav(mono, test_support::Bytes(44100 * 2)));
  const std::string noise = dir.Write("noise.wav", std::string_view("\x13\x37 not a sound at all"));
  const std::string out = (dir.path() / "out").string();
  const std::string usage = "usage: morvex-render";
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string message;
  };
  const Case cases[] = {
      {{}, 2, "FILE and OUTDIR are needed"},
      {{wav, out, "extra"}, 2, "more than FILE and OUTDIR given"},
      {{"--bogus", wav, out}, 2, "unknown option '--bogus'"},
      {{"--size", "0x10", wav, out}, 2, "--size wants WIDTHxHEIGHT"},
      {{"--size=640", wav, out}, 2, "--size wants WIDTHxHEIGHT"},
      {{"--at", "-1", wav, out}, 2, "--at wants seconds"},
      {{"--columns-per-second", "fast", wav, out}, 2, "--columns-per-second wants a number"},
      {{wav, out, "--at"}, 2, "--at needs a value"},
      {{"--ini", (dir.path() / "none.ini").string(), wav, out}, 2, "cannot read the settings file"},
      {{"--at", "1", wav, out}, 2, "--at 1 lies beyond the end of the sound (1.000 s)"},
      {{noise, out}, 1, "not a RIFF file."},
      {{(dir.path() / "missing.wav").string(), out}, 1, "dont open wavfile("},
      {{wav, noise}, 1, "cannot make the folder"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    const auto result = RunRender(dir, c.args);
    EXPECT_EQ(result.exitCode, c.exitCode);
    EXPECT_NE(result.error.find(c.message), std::string::npos) << result.error;
    EXPECT_EQ(result.error.find(usage) != std::string::npos, c.exitCode == 2) << result.error;
  }
  EXPECT_FALSE(std::filesystem::exists(out));
  const auto ok = RunRender(dir, {"--", wav, out});
  EXPECT_EQ(ok.exitCode, 0) << ok.error;
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "out" / "spectrogram.png"));
}

// --help and --version answer on standard output; the version is the program's.
TEST(RenderCommandLine, HelpAndVersionAnswerOnStandardOutput) {
  TempDir dir;
  const auto help = RunRender(dir, {"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("usage: morvex-render [options] FILE OUTDIR\n", 0), 0u) << help.out;
  const auto version = RunRender(dir, {"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "morvex-render " MORVEX_VERSION "\n");
}

}  // namespace
