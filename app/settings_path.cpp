#include "app/settings_path.h"

#include <utility>

namespace {

constexpr std::string_view kSettingsFileName = "morvex.ini";

// "morvex.ini" in a directory, with a separator between them unless the directory ends in one.
// An unknown directory leaves the bare name, which the later steps resolve.
std::string InDirectory(std::string_view directory, char separator) {
  std::string path(directory);
  if (!path.empty() && path.back() != separator) path += separator;
  path += kSettingsFileName;
  return path;
}

// The module file name up to and including its last separator; empty when it has none.
std::string_view ExecutableDirectory(std::string_view moduleFileName, char separator) {
  const std::size_t last = moduleFileName.rfind(separator);
  return last == std::string_view::npos ? std::string_view() : moduleFileName.substr(0, last + 1);
}

// The command line turned into "<executable>.ini": the file part lowercased, quotes blanked, and
// everything after the first ".exe" replaced by ".ini". Without ".exe" the file sits beside the
// executable.
std::string FromCommandLine(std::string_view commandLine, std::string_view moduleFileName, char separator) {
  std::string line(commandLine);
  const std::size_t last = line.rfind(separator);
  for (std::size_t i = last == std::string::npos ? 0 : last; i < line.size(); ++i) {
    char& c = line[i];
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    } else if (c == '"') {
      c = ' ';
    }
  }
  if (!line.empty() && line.front() == ' ') line.erase(0, 1);

  const std::size_t exe = line.find(".exe");
  if (exe == std::string::npos) {
    return std::string(ExecutableDirectory(moduleFileName, separator)) + std::string(kSettingsFileName);
  }
  line.resize(exe + 1);
  line += "ini";
  if (line.front() == '"') line.erase(0, 1);
  return line;
}

std::string RefuseOverlong(std::string path) {
  return path.size() < kPathBufferBytes ? path : std::string();
}

}  // namespace

SettingsPathResult DeriveSettingsPath(std::string_view commandLine, std::string_view currentDirectory,
                                      std::string_view moduleFileName, bool wavFileNameEmpty,
                                      char separator) {
  SettingsPathResult result;
  result.exeDerivedPath = RefuseOverlong(FromCommandLine(commandLine, moduleFileName, separator));

  std::string path = wavFileNameEmpty ? InDirectory(currentDirectory, separator) : result.exeDerivedPath;
  if (path == kSettingsFileName) path = InDirectory(currentDirectory, separator);

  // A bare ten-character name such as "abcdef.ini" (the executable started without its directory)
  // is placed beside the executable.
  const char driveRoot[] = {':', separator, '\0'};
  if (path.size() == kSettingsFileName.size() && path.find(driveRoot) == std::string::npos) {
    path = std::string(ExecutableDirectory(moduleFileName, separator)) + path;
  }
  result.settingsPath = RefuseOverlong(std::move(path));
  return result;
}
