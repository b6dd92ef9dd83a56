#include "app/settings_path.h"

#include <utility>

namespace {

constexpr std::string_view kSettingsFileName = "morvex.ini";

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

// "morvex.ini" in a directory, with a separator between them unless the directory ends in one.
// An unknown directory leaves the bare name, which the later steps resolve.
std::string InDirectory(std::string_view directory) {
  std::string path(directory);
  if (!path.empty() && path.back() != kSeparator) path += kSeparator;
  path += kSettingsFileName;
  return path;
}

// The module file name up to and including its last separator; empty when it has none.
std::string_view ExecutableDirectory(std::string_view moduleFileName) {
  const std::size_t last = moduleFileName.rfind(kSeparator);
  return last == std::string_view::npos ? std::string_view() : moduleFileName.substr(0, last + 1);
}

std::string BesideTheExecutable(std::string_view moduleFileName) {
  return std::string(ExecutableDirectory(moduleFileName)) + std::string(kSettingsFileName);
}

#ifdef _WIN32
// The command line turned into "<executable>.ini": the file part lowercased, quotes blanked, and
// everything after the first ".exe" replaced by ".ini". Without ".exe" the file sits beside the
// executable.
std::string FromCommandLine(std::string_view commandLine, std::string_view moduleFileName) {
  std::string line(commandLine);
  const std::size_t last = line.rfind(kSeparator);
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
  if (exe == std::string::npos) return BesideTheExecutable(moduleFileName);
  line.resize(exe + 1);
  line += "ini";
  if (line.front() == '"') line.erase(0, 1);
  return line;
}
#else
// The executable's own name never ends in ".exe" here, and one found in the arguments (a sound
// file named "My.EXE.wav") must not move the settings: they always live beside the executable.
std::string FromCommandLine(std::string_view, std::string_view moduleFileName) {
  return BesideTheExecutable(moduleFileName);
}
#endif

std::string RefuseOverlong(std::string path) {
  return path.size() < kPathBufferBytes ? path : std::string();
}

}  // namespace

SettingsPathResult DeriveSettingsPath(std::string_view commandLine, std::string_view currentDirectory,
                                      std::string_view moduleFileName, bool wavFileNameEmpty) {
  SettingsPathResult result;
  result.exeDerivedPath = RefuseOverlong(FromCommandLine(commandLine, moduleFileName));

  std::string path = wavFileNameEmpty ? InDirectory(currentDirectory) : result.exeDerivedPath;
  if (path == kSettingsFileName) path = InDirectory(currentDirectory);

  // A bare ten-character name such as "abcdef.ini" (the executable started without its directory)
  // is placed beside the executable.
  const char driveRoot[] = {':', kSeparator, '\0'};
  if (path.size() == kSettingsFileName.size() && path.find(driveRoot) == std::string::npos) {
    path = std::string(ExecutableDirectory(moduleFileName)) + path;
  }
  result.settingsPath = RefuseOverlong(std::move(path));
  return result;
}

std::string InstalledSettingsPath(std::string_view derivedPath, std::string_view moduleFileName,
                                  const InstalledProgram& program) {
  std::string folder(ExecutableDirectory(moduleFileName));
  if (folder.size() > 1) folder.pop_back();  // "/usr/bin/" is compared as "/usr/bin"
  const bool installed = !folder.empty() && (folder == program.installFolder || !program.executableFolderWritable);
  if (!installed) return std::string(derivedPath);

  std::string config;
  // Relative values are not valid configuration or home folders and are passed over.
  if (program.xdgConfigHome.starts_with('/')) {
    config = program.xdgConfigHome;
  } else if (program.home.starts_with('/')) {
    config = std::string(program.home) + (program.home.ends_with('/') ? "" : "/") + ".config";
  } else {
    return std::string(derivedPath);
  }
  if (config.back() != kSeparator) config += kSeparator;
  return RefuseOverlong(config + "morvex" + kSeparator + std::string(kSettingsFileName));
}
