// The program against what a user's system can hand it instead of a sound file or a settings
// file: devices, pipes, folders, files that change or lie about their size, odd names, and
// settings files it cannot use. Each ends with its message and exit code or plays on until it is
// terminated, never hangs, and never loses the user's morvex.ini.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "support/program_run.h"
#include "support/temp_dir.h"
#include "support/wav_bytes.h"

namespace {

using namespace std::chrono_literals;
using test_support::Bytes;
using test_support::FmtFields;
using test_support::ProgramRun;
using test_support::ReadFileBytes;
using test_support::TempDir;
namespace fs = std::filesystem;

// Settings of the user's own that every case starts with.
constexpr char kOwnSettings[] = "[fft&sg]\r\nfftsample=4096\r\nwfkind=h\r\n";

Bytes StereoWav(size_t dataBytes, uint32_t declaredSize) {
  Bytes file = test_support::RiffWithFmt(FmtFields{});
  test_support::AddChunk(file, "data", Bytes(dataBytes, 0), declaredSize);
  return file;
}
Bytes StereoWav(size_t dataBytes) { return StereoWav(dataBytes, static_cast<uint32_t>(dataBytes)); }
constexpr size_t kOneSecond = 44100 * 4;

std::string IniPath(const TempDir& dir) { return (dir.path() / "morvex.ini").string(); }
void WriteOwnSettings(const TempDir& dir) { dir.Write("morvex.ini", kOwnSettings); }

// What morvex.ini must be after the run, given its bytes before it.
void KeptAsItWas(const TempDir& dir, const std::string& before) { EXPECT_EQ(ReadFileBytes(IniPath(dir)), before); }

void SavedWithOwnValues(const TempDir& dir, const std::string&) {
  const std::string ini = ReadFileBytes(IniPath(dir));
  EXPECT_EQ(ini.rfind("[general]\r\n", 0), 0u) << ini.substr(0, 40);
  EXPECT_NE(ini.find("\r\nfftsample=4096\r\n"), std::string::npos);
  EXPECT_NE(ini.find("\r\nwfkind=h\r\n"), std::string::npos);
}

enum class Outcome {
  Refused,              // ends by itself with exit code 1 and the message
  PlaysUntilTerminated  // still running until SIGTERM, which ends it with exit code 0
};

struct HostileCase {
  const char* what;
  // Prepares the case in the program's folder and returns the program's argument.
  std::function<std::string(const TempDir&)> source;
  Outcome outcome;
  std::string message;  // Refused: the text on standard error, "@" standing for the argument
  std::function<void(const TempDir&)> settings = WriteOwnSettings;
  std::function<void(const TempDir&, const std::string& before)> settingsAfter = KeptAsItWas;
  std::function<void(const std::string& source)> whilePlaying = nullptr;
};

void RunCase(const HostileCase& c) {
  SCOPED_TRACE(c.what);
  TempDir dir;
  const std::string argument = c.source(dir);
  c.settings(dir);
  const std::string before = fs::is_regular_file(IniPath(dir)) ? ReadFileBytes(IniPath(dir)) : std::string();
  ProgramRun run(dir, {argument});
  if (c.outcome == Outcome::Refused) {
    const auto result = run.Wait(10s);
    EXPECT_EQ(result.exitCode, 1) << result.standardError;
    std::string message = c.message;
    if (const size_t at = message.find('@'); at != std::string::npos) message.replace(at, 1, argument);
    EXPECT_NE(result.standardError.find(message), std::string::npos) << result.standardError;
  } else {
    // Playing: the first fill has read the first play buffer's worth.
    ASSERT_TRUE(run.ReadsBeyond(argument, 128000, 60s)) << "does not play: " << run.Wait(0ms).standardError;
    if (c.whilePlaying) c.whilePlaying(argument);
    // Long enough for the device to hand back a buffer and the file to be read again.
    ASSERT_TRUE(run.RunsFor(1500ms)) << "ended before it was asked to: " << run.Wait(0ms).standardError;
    run.Signal(SIGTERM);
    const auto result = run.Wait(10s);
    EXPECT_EQ(result.exitCode, 0) << result.standardError;
  }
  c.settingsAfter(dir, before);
  EXPECT_FALSE(fs::exists(dir.path() / "morvex.ini.tmp"));
}

std::string Write(const TempDir& dir, const char* name, const Bytes& bytes) { return dir.Write(name, bytes); }

TEST(HostileInputTest, EachEndsWithItsMessageOrPlaysOnAndKeepsTheSettings) {
  int pipeEnds = -1;
  const HostileCase cases[] = {
      {"an endless device of zeros", [](const TempDir&) { return std::string("/dev/zero"); }, Outcome::Refused,
       "dont open wavfile(@)"},
      {"an endless device of noise", [](const TempDir&) { return std::string("/dev/urandom"); }, Outcome::Refused,
       "dont open wavfile(@)"},
      {"a pipe holding a whole sound file",
       [&pipeEnds](const TempDir& dir) {
         const std::string path = (dir.path() / "pipe.wav").string();
         EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
         // Held open at both ends, so that the pipe keeps its bytes while the program runs.
         pipeEnds = open(path.c_str(), O_RDWR);
         const Bytes wav = StereoWav(1000);
         EXPECT_EQ(write(pipeEnds, wav.data(), wav.size()), static_cast<ssize_t>(wav.size()));
         return path;
       },
       Outcome::Refused, "dont open wavfile(@)"},
      {"a header that claims far more data than the file holds",
       [](const TempDir& dir) { return Write(dir, "short.wav", StereoWav(2 * kOneSecond, 100u << 20)); },
       Outcome::PlaysUntilTerminated, "", WriteOwnSettings, SavedWithOwnValues},
      {"a file cut to its header while it plays",
       [](const TempDir& dir) { return Write(dir, "cut.wav", StereoWav(10 * kOneSecond)); },
       Outcome::PlaysUntilTerminated, "", WriteOwnSettings, SavedWithOwnValues,
       [](const std::string& source) { fs::resize_file(source, 44); }},
      {"a sparse file of 4 GB, its header declaring all of it",
       [](const TempDir& dir) {
         constexpr uint32_t kSize = 4000000000u;
         const std::string path = Write(dir, "huge.wav", StereoWav(0, kSize - 44));
         fs::resize_file(path, kSize);
         return path;
       },
       Outcome::PlaysUntilTerminated, "", WriteOwnSettings, SavedWithOwnValues},
      {"a path with spaces and other scripts",
       [](const TempDir& dir) {
         fs::create_directory(dir.path() / "Musik mit Lücken");
         return Write(dir, "Musik mit Lücken/音 ♪ 1.wav", StereoWav(kOneSecond));
       },
       Outcome::PlaysUntilTerminated, "", WriteOwnSettings, SavedWithOwnValues},
      {"morvex.ini is a folder",
       [](const TempDir& dir) { return Write(dir, "a.wav", StereoWav(kOneSecond)); },
       Outcome::PlaysUntilTerminated, "", [](const TempDir& dir) { fs::create_directory(dir.path() / "morvex.ini"); },
       [](const TempDir& dir, const std::string&) {
         EXPECT_TRUE(fs::is_directory(IniPath(dir)));
         EXPECT_TRUE(fs::is_empty(IniPath(dir)));
       }},
      {"morvex.ini of 10 MB in one line",
       [](const TempDir& dir) { return Write(dir, "a.wav", StereoWav(kOneSecond)); },
       Outcome::PlaysUntilTerminated, "",
       [](const TempDir& dir) { dir.Write("morvex.ini", std::string(10 << 20, 'x') + "=1"); },
       [](const TempDir& dir, const std::string&) {
         const std::string ini = ReadFileBytes(IniPath(dir));
         EXPECT_EQ(ini.rfind("[general]\r\nmainwindowpx=290\r\n", 0), 0u) << ini.substr(0, 40);
         EXPECT_TRUE(ini.ends_with("\r\nwavwindowsleeptime=20"));
       }},
  };
  for (const HostileCase& c : cases) RunCase(c);
  close(pipeEnds);
}

// Permissions stop only a normal user; the superuser reads and writes through them, so a
// superuser's run plays these as the user nobody.
void WhatOnlyANormalUserMeets() {
  const HostileCase cases[] = {
      {"a file the user may not read",
       [](const TempDir& dir) {
         const std::string path = Write(dir, "locked.wav", StereoWav(kOneSecond));
         fs::permissions(path, fs::perms::none);
         return path;
       },
       Outcome::Refused, "dont open wavfile(@)"},
      {"morvex.ini read-only in a read-only folder",
       [](const TempDir& dir) { return Write(dir, "a.wav", StereoWav(kOneSecond)); },
       Outcome::PlaysUntilTerminated, "",
       [](const TempDir& dir) {
         WriteOwnSettings(dir);
         fs::permissions(IniPath(dir), fs::perms::owner_read);
       },
       [](const TempDir& dir, const std::string& before) {
         KeptAsItWas(dir, before);
         fs::permissions(dir.path(), fs::perms::owner_all);  // so that the folder can be removed
       },
       [](const std::string& source) {
         fs::permissions(fs::path(source).parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
       }},
  };
  for (const HostileCase& c : cases) RunCase(c);
}

TEST(HostileInputTest, WhatOnlyANormalUserMeets) {
  if (geteuid() != 0) {
    WhatOnlyANormalUserMeets();
    return;
  }
  constexpr uid_t kNobody = 65534;
  EXPECT_EXIT(
      {
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) std::_Exit(2);
        WhatOnlyANormalUserMeets();
        std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
