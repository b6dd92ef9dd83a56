#include "app/settings_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
  std::string commandLine, currentDirectory, moduleFileName;
  bool noFile;
  std::string settingsPath;
};

void ExpectPaths(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(DeriveSettingsPath(c.commandLine, c.currentDirectory, c.moduleFileName, c.noFile).settingsPath,
              c.settingsPath)
        << c.commandLine;
  }
}

#ifdef _WIN32
TEST(SettingsPath, TheExecutablesNameOnTheCommandLineGivesIt) {
  const std::string tools = "C:\\Tools\\morvex.exe";
  ExpectPaths({
      {tools, "D:\\work", tools, true, "D:\\work\\morvex.ini"},
      {"C:\\Tools\\MORVEX.exe a.wav", "D:\\work", tools, false, "C:\\Tools\\morvex.ini"},
      {"\"C:\\Tools\\morvex.exe\" \"C:\\My Music\\x.wav\"", "D:\\work", tools, false, "C:\\Tools\\morvex.ini"},
      {"morvex.exe a.wav", "D:\\snd", tools, false, "D:\\snd\\morvex.ini"},
      {"abcdef.exe a.wav", "D:\\snd", "C:\\bin\\abcdef.exe", false, "C:\\bin\\abcdef.ini"},
      // Upper-case .EXE and an argument with a backslash: ".exe" is not found.
      {"\"C:\\Tools\\Morvex.EXE\" C:\\music\\a.wav", "D:\\work", "C:\\Tools\\Morvex.EXE", false,
       "C:\\Tools\\morvex.ini"},
  });
}
#else
TEST(SettingsPath, BesideTheExecutableOrInTheCurrentDirectoryWhateverTheArgumentsHold) {
  const std::string bin = "/opt/m/bin/morvex";
  ExpectPaths({
      {bin + " /home/u/a.wav", "/home/u", bin, false, "/opt/m/bin/morvex.ini"},
      {"./morvex My.EXE.wav", "/home/u/b", "/home/u/b/morvex", false, "/home/u/b/morvex.ini"},
      {bin + " a.exe", "/home/u", bin, false, "/opt/m/bin/morvex.ini"},
      {bin + " \"x.exe\"", "/home/u", bin, false, "/opt/m/bin/morvex.ini"},
      {"", "/home/u", bin, false, "/opt/m/bin/morvex.ini"},
      {bin, "/home/u/music", bin, true, "/home/u/music/morvex.ini"},
      {bin, "/", bin, true, "/morvex.ini"},
      {"morvex a.wav", "/home/u", "morvex", false, "/home/u/morvex.ini"},  // no directory known
  });
}

TEST(SettingsPath, PathsThatDoNotFitAreRefusedNotCut) {
  const std::string fits = "/" + std::string(499 - 1 - 11, 'd');  // 499 characters with "/morvex.ini"
  ExpectPaths({
      {"/usr/bin/morvex", "/" + std::string(495, 'd'), "/usr/bin/morvex", true, ""},
      {"/usr/bin/morvex", fits, "/usr/bin/morvex", true, fits + "/morvex.ini"},
      {"x a.wav", "/", "/" + std::string(600, 'p') + "/morvex", false, ""},
  });
}
#endif

}  // namespace
