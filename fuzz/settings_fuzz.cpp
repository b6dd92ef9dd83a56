// The settings file as the program reads and writes it: any bytes are loaded, saved and loaded
// again. The second load must hold every setting the first one holds, and the file it saves must
// be the same text: a value that does not survive the file would be lost at the next start.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/settings_file.h"
#include "app/settings_keys.h"

namespace {

// The two files of a run, in a private directory removed when the fuzzer ends.
struct Paths {
  Paths() {
    // In memory where possible: replacing a file by a rename makes a disk file system write
    // the data out, which would take most of each run.
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    dir = (base / "morvex-settings-fuzz-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) std::abort();
    loaded = dir + "/given.ini";
    saved = dir + "/morvex.ini";
  }
  ~Paths() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
  std::string dir;
  std::string loaded;
  std::string saved;
};

const Paths& WorkPaths() {
  static const Paths paths;
  return paths;
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) std::abort();
}

std::string ReadFile(const std::string& path) {
  std::string text;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) std::abort();
  char chunk[4096];
  for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, got);
  std::fclose(file);
  return text;
}

[[noreturn]] void Fail(const char* what, std::string_view line) {
  std::fprintf(stderr, "settings round trip: %s: \"%.*s\"\n", what, static_cast<int>(line.size()), line.data());
  std::abort();
}

// Each line of the saved text that sets a key must be what the second load holds, and a
// setting the file carries as itself (all but window geometry, which may be written from the
// remembered values) must be what the first load held.
void CheckEveryLine(const std::string& text, const SettingsRecord& first, const SettingsRecord& second) {
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string_view line(text.data() + start, end - start);
    start = end + 2;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const SettingsKey* key = FindSettingsKey(line.substr(0, equals));
    if (key == nullptr) continue;
    const std::string value(line.substr(equals + 1));
    if (std::to_string((second.*key->field).load()) != value) Fail("reloaded value differs", line);
    if (key->remembered == nullptr && (first.*key->field).load() != (second.*key->field).load()) {
      Fail("setting changed by the file", line);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Paths& paths = WorkPaths();
  WriteFile(paths.loaded, data, size);

  SettingsRecord first;
  LoadSettings(first, paths.loaded.c_str());
  LiveGeometry live;  // a run whose windows were never created, with a two-channel source
  live.channels = 2;
  if (!SaveSettings(first, paths.saved.c_str(), live)) Fail("save failed", paths.saved);

  SettingsRecord second;
  LoadSettings(second, paths.saved.c_str());
  // Written as a comment for the reader and never read back: the main window sets it from the
  // source at every start.
  second.playfreqoptional = first.playfreqoptional.load();
  const char kinds[2] = {first.wfkind.load(), second.wfkind.load()};
  if (kinds[0] != kinds[1]) Fail("wfkind changed (first, second)", std::string_view(kinds, 2));
  const std::string saved = ReadFile(paths.saved);
  if (FormatSettings(second, live) != saved) Fail("saved text changed", saved);
  CheckEveryLine(saved, first, second);
  return 0;
}
