// Where the settings file lives, derived from the process command line at start-up.
#pragma once

#include <string>
#include <string_view>

// Path buffers of the start-up code hold 500 bytes: 499 characters and the terminating zero.
inline constexpr std::size_t kPathBufferBytes = 500;

struct SettingsPathResult {
  // The settings path derived from the command line alone (the executable's name with ".ini").
  std::string exeDerivedPath;
  // The path the settings are read from at start-up and written to at shutdown.
  std::string settingsPath;
};

// Derives the settings path from the process command line (the executable's path followed by the
// arguments), the current directory, the module file name and whether a WAV file was named.
//
// On Linux the path is "morvex.ini" in the executable's directory (taken from the module file
// name), or in the current directory when no file was named, whatever the arguments hold; on
// Windows the executable's name on the command line gives it ("<name>.ini"). A path that would
// not fit in a 500-byte buffer is refused rather than cut: the result is then empty, and an
// empty settings path makes the program neither read nor write a settings file (a cut path
// could name some other file and overwrite it).
SettingsPathResult DeriveSettingsPath(std::string_view commandLine, std::string_view currentDirectory,
                                      std::string_view moduleFileName, bool wavFileNameEmpty);

// What decides where an installed program keeps its settings on Linux.
struct InstalledProgram {
  // The folder `cmake --install` puts the executable in (for instance "/usr/bin").
  std::string_view installFolder;
  // Whether this user may write into the executable's folder.
  bool executableFolderWritable;
  // $XDG_CONFIG_HOME and $HOME; empty when not set.
  std::string_view xdgConfigHome;
  std::string_view home;
};

// The settings path once the program's place is known. A program that runs from its install
// folder, or from any folder its user cannot write, keeps "morvex/morvex.ini" in the user's
// configuration folder ($XDG_CONFIG_HOME when it is absolute, else $HOME/.config), whether a
// file was named or not, so that every way of starting it finds one file. Otherwise, and when no
// configuration folder is known, the derived path stays. Refused (empty) when it would not fit
// a 500-byte buffer.
std::string InstalledSettingsPath(std::string_view derivedPath, std::string_view moduleFileName,
                                  const InstalledProgram& program);
