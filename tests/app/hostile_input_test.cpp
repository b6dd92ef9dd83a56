// The program, started without a display, against what a user's system can hand it instead of a
// sound file or a settings file: broken headers, a device, files that change or lie about their
// size, odd names, settings files it cannot use. Each ends with its message and exit code 1 or
// plays on until SIGTERM ends it with 0, never hangs, and never loses the user's morvex.ini.
#include <gtest/gtest.h>

#include <grp.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "support/program_run.h"
#include "support/sound_files.h"
#include "support/temp_dir.h"
#include "support/wav_bytes.h"

namespace {

using namespace std::chrono_literals;
using test_support::Bytes;
using test_support::FmtFields;
using test_support::ReadFileBytes;
using test_support::TempDir;
namespace fs = std::filesystem;

constexpr uint32_t kOneSecond = 44100 * 4;
// Settings of the user's own that every case starts with.
constexpr char kOwnSettings[] = "[fft&sg]\r\nfftsample=4096\r\nwfkind=h\r\n";

Bytes StereoWav(uint32_t dataBytes, uint32_t declaredSize = 0) {  // 0: the data's own size
  Bytes file = test_support::RiffWithFmt(FmtFields{});
  test_support::AddChunk(file, "data", Bytes(dataBytes, 0), declaredSize ? declaredSize : dataBytes);
  return file;
}

using Source = std::function<std::string(const TempDir&)>;  // the program's argument; empty: none
Source File(std::string name, Bytes bytes) { return [=](const TempDir& dir) { return dir.Write(name, bytes); }; }
Source Path(const std::string& path) { return [=](const TempDir&) { return path; }; }

std::string IniPath(const TempDir& dir) { return (dir.path() / "morvex.ini").string(); }
void WriteOwnSettings(const TempDir& dir) { dir.Write("morvex.ini", kOwnSettings); }

struct HostileCase {
  const char* what;
  Source source;
  const char* refusal;  // its text on standard error ("@": the argument); null: plays until SIGTERM
  std::function<void(const TempDir&)> settings = WriteOwnSettings;
  // Null: a refusal keeps morvex.ini as it was, a run saves it with the user's own values.
  std::function<void(const TempDir&)> settingsAfter = nullptr;
  std::function<void(const std::string& source)> whilePlaying = nullptr;
};

void RunCase(const HostileCase& c) {
  SCOPED_TRACE(c.what);
  TempDir dir;
  const std::string argument = c.source(dir);
  c.settings(dir);
  const std::string before = fs::is_regular_file(IniPath(dir)) ? ReadFileBytes(IniPath(dir)) : std::string();
  test_support::ProgramRun run(dir, argument.empty() ? std::vector<std::string>{} : std::vector{argument});
  if (c.refusal) {
    const auto result = run.Wait(10s);
    EXPECT_EQ(result.exitCode, 1) << result.standardError;
    std::string message = c.refusal;
    if (const size_t at = message.find('@'); at != std::string::npos) message.replace(at, 1, argument);
    EXPECT_NE(result.standardError.find(message), std::string::npos) << result.standardError;
  } else {
    // Playing: the first fill has read the first play buffer's worth.
    ASSERT_TRUE(run.ReadsBeyond(argument, 128000, 60s)) << "does not play: " << run.Wait(0ms).standardError;
    if (c.whilePlaying) c.whilePlaying(argument);
    // Long enough for the device to hand back a buffer and the file to be read again.
    std::this_thread::sleep_for(1500ms);
    ASSERT_TRUE(run.Running()) << "ended before it was asked to: " << run.Wait(0ms).standardError;
    run.Signal(SIGTERM);
    const auto result = run.Wait(10s);
    EXPECT_EQ(result.exitCode, 0) << result.standardError;
  }
  if (c.settingsAfter) {
    c.settingsAfter(dir);
  } else if (c.refusal) {
    EXPECT_EQ(ReadFileBytes(IniPath(dir)), before);
  } else {
    const std::string ini = ReadFileBytes(IniPath(dir));
    EXPECT_EQ(ini.rfind("[general]\r\n", 0), 0u) << ini.substr(0, 40);
    EXPECT_NE(ini.find("\r\nfftsample=4096\r\n"), std::string::npos);
    EXPECT_NE(ini.find("\r\nwfkind=h\r\n"), std::string::npos);
  }
  for (const auto& entry : fs::directory_iterator(dir.path())) EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

TEST(HostileInputTest, EachEndsWithItsMessageOrPlaysOnAndKeepsTheSettings) {
  Bytes rifx = StereoWav(64), zeros = test_support::RiffWithFmt({});
  rifx[3] = 'X';
  zeros.resize(8 << 20);  // what an interrupted recording leaves: zeros behind the fmt chunk
  TempDir sounds;
  const std::string flac = test_support::ReadFileBytes(test_support::WriteSound(
      sounds, "a.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 2, std::vector<int32_t>(2 * 44100, 1 << 20)));
  Bytes noise(100000);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
  const HostileCase cases[] = {
      {"no file named", Path(""), "[error] file名をget出来ませんでした."},
      {"not RIFF", File("a.wav", rifx), "[] \n\nnot a RIFF file."},
      {"no data chunk", File("a.wav", zeros), "[] \n\nnot a WAVE file."},
      {"floating point", File("a.wav", test_support::CanonicalWav({.tag = 3}, Bytes(64))), "[] \nNot renia format."},
      {"a rate of 0 Hz", File("a.wav", test_support::CanonicalWav({.rate = 0}, Bytes(64))),
       "[] \n\nunsupported WAVE format."},
      {"a FLAC file cut short", File("a.flac", Bytes(flac.begin(), flac.begin() + flac.size() / 2)),
       "[] \n\ndamaged sound file.\n"},
      {"random bytes named .mp3", File("a.mp3", noise), "[] \n\nnot a RIFF file."},
      {"an endless device", Path("/dev/zero"), "dont open wavfile(@)"},
      {"a file cut to its header while it plays", File("cut.wav", StereoWav(10 * kOneSecond)), nullptr,
       WriteOwnSettings, nullptr, [](const std::string& source) { fs::resize_file(source, 44); }},
      {"a sparse file of 4 GB, its header declaring all of it",
       [](const TempDir& dir) {
         const std::string path = dir.Write("huge.wav", StereoWav(0, 4000000000u - 44));
         fs::resize_file(path, 4000000000u);
         return path;
       },
       nullptr},
      {"a path with spaces and other scripts",
       [](const TempDir& dir) {
         fs::create_directory(dir.path() / "Musik mit Lücken");
         return dir.Write("Musik mit Lücken/音 ♪ 1.wav", StereoWav(kOneSecond));
       },
       nullptr},
      {"morvex.ini is a folder", File("a.wav", StereoWav(kOneSecond)), nullptr,
       [](const TempDir& dir) { fs::create_directory(IniPath(dir)); },
       [](const TempDir& dir) { EXPECT_TRUE(fs::is_directory(IniPath(dir)) && fs::is_empty(IniPath(dir))); }},
      {"morvex.ini of 10 MB in one line", File("a.wav", StereoWav(kOneSecond)), nullptr,
       [](const TempDir& dir) { dir.Write("morvex.ini", std::string(10 << 20, 'x') + "=1"); },
       [](const TempDir& dir) {
         const std::string ini = ReadFileBytes(IniPath(dir));
         EXPECT_EQ(ini.rfind("[general]\r\nmainwindowpx=290\r\n", 0), 0u) << ini.substr(0, 40);
         EXPECT_TRUE(ini.ends_with("\r\nwavwindowsleeptime=20"));
       }},
  };
  for (const HostileCase& c : cases) RunCase(c);
}

// Permissions stop only a normal user; a superuser's run plays this as the user nobody.
void ReadOnlySettingsInAReadOnlyFolder() {
  RunCase({"morvex.ini read-only in a read-only folder", File("a.wav", StereoWav(kOneSecond)), nullptr,
           [](const TempDir& dir) {
             WriteOwnSettings(dir);
             fs::permissions(IniPath(dir), fs::perms::owner_read);
           },
           [](const TempDir& dir) {
             EXPECT_EQ(ReadFileBytes(IniPath(dir)), kOwnSettings);
             fs::permissions(dir.path(), fs::perms::owner_all);  // so that the folder can be removed
           },
           [](const std::string& source) {
             fs::permissions(fs::path(source).parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
           }});
}

TEST(HostileInputTest, ReadOnlySettingsInAReadOnlyFolderAreKept) {
  if (geteuid() != 0) return ReadOnlySettingsInAReadOnlyFolder();
  constexpr uid_t kNobody = 65534;
  EXPECT_EXIT(
      {
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) std::_Exit(2);
        ReadOnlySettingsInAReadOnlyFolder();
        std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
