// The program itself, started without a display, playing one 16-bit recording stored in the
// formats it decodes, through ALSA's default device routed into a file: each must reach the
// device as exactly the bytes the 16-bit WAV file of the recording reaches it as.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/program_run.h"
#include "support/sound_files.h"
#include "support/temp_dir.h"

namespace {

using namespace std::chrono_literals;
using test_support::TempDir;
namespace fs = std::filesystem;

// One second of 16-bit stereo at 44100 Hz: a tone left, a ramp over the whole range right. The
// first and last samples are not silent, so the sound is told from the device's silence.
std::vector<int16_t> Recording() {
  std::vector<int16_t> samples;
  for (int i = 0; i < 44100; ++i) {
    samples.push_back(static_cast<int16_t>(std::lround(20000 * std::cos(i * 0.03))));
    samples.push_back(static_cast<int16_t>((i * 1553) % 65536 - 32768));
  }
  return samples;
}

// What the device received of a run of the program on `sound`: the bytes from the first
// non-zero one to the last (the device hears silence before and after).
std::string Heard(const std::string& sound) {
  TempDir dir;
  const std::string device = (dir.path() / "device.raw").string();
  fs::create_directory(dir.path() / "home");
  std::ofstream(dir.path() / "home/.asoundrc") << "pcm.!default {\n  type file\n  slave.pcm \"null\"\n  file \""
                                                << device << "\"\n  format \"raw\"\n}\n";
  const std::string home = getenv("HOME") ? getenv("HOME") : "";
  setenv("HOME", (dir.path() / "home").c_str(), 1);
  test_support::ProgramRun run(dir, {sound});
  setenv("HOME", home.c_str(), 1);
  // The device has no clock: the whole file arrives at once, then the device stays quiet.
  uintmax_t size = 0;
  for (auto quietSince = std::chrono::steady_clock::now(), deadline = quietSince + 30s;
       std::chrono::steady_clock::now() < deadline && std::chrono::steady_clock::now() - quietSince < 1s;) {
    std::this_thread::sleep_for(50ms);
    std::error_code error;
    const uintmax_t now = fs::file_size(device, error);
    if (error || now != size) quietSince = std::chrono::steady_clock::now();
    if (!error) size = now;
  }
  run.Signal(SIGTERM);
  const auto result = run.Wait(10s);
  EXPECT_EQ(result.exitCode, 0) << result.standardError;
  const std::string bytes = test_support::ReadFileBytes(device);
  const size_t first = bytes.find_first_not_of('\0');
  if (first == std::string::npos) return "";
  return bytes.substr(first, bytes.find_last_not_of('\0') + 1 - first);
}

TEST(SoundFormatsTest, EachFormatOfA16BitRecordingReachesTheDeviceAsThe16BitFileDoes) {
  TempDir dir;
  const std::vector<int16_t> recording = Recording();
  const std::string reference = Heard(test_support::WriteSound(dir, "16bit.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, recording));
  ASSERT_EQ(reference, std::string(reinterpret_cast<const char*>(recording.data()), recording.size() * 2));
  const struct {
    const char* name;
    int format;
  } cases[] = {
      {"24bit.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24},      {"32bit.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_32},
      {"float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT},       {"extensible.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16},
      {"24bit.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(Heard(test_support::WriteSound(dir, c.name, c.format, 2, recording)) == reference);
  }
}

}  // namespace
