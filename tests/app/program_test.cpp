// The program as a whole, started without a display: its failure messages and exit codes at start-up.
#include <gtest/gtest.h>

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

TEST(ProgramStartTest, EachRefusalGivesItsMessageAndExitsOne) {
  Bytes rifx = SilentStereo(64);
  rifx[3] = 'X';
  // What an interrupted recording leaves: zeros behind the fmt chunk, no data chunk.
  Bytes zeros = test_support::RiffWithFmt(FmtFields{});
  zeros.resize(8 << 20);
  struct Refusal {
    std::vector<std::string> arguments;  // "@" stands for the file written for the case
    Bytes file;
    const char* message;
  };
  const Refusal cases[] = {
      {{}, {}, "[error] file名をget出来ませんでした."},
      {{"@"}, rifx, "[] \n\nnot a RIFF file."},
      {{"@"}, zeros, "[] \n\nnot a WAVE file."},
      {{"@"}, test_support::CanonicalWav({.tag = 3}, Bytes(64, 0)), "[] \nNot renia format."},
      {{"@"}, test_support::CanonicalWav({.bits = 24}, Bytes(60, 0)), "[] \n\nunsupported WAVE format."},
  };
  for (const Refusal& c : cases) {
    TempDir dir;
    std::vector<std::string> arguments = c.arguments;
    for (std::string& a : arguments) {
      if (a == "@") a = dir.Write("case.wav", c.file);
    }
    ProgramRun run(dir, arguments);
    const auto result = run.Wait(10s);
    EXPECT_EQ(result.exitCode, 1) << c.message;
    EXPECT_NE(result.standardError.find(c.message), std::string::npos) << c.message << ": " << result.standardError;
  }
}

}  // namespace
