#include "app/settings_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SettingsPath, BesideTheExecutableOrInTheCurrentDirectoryAndNeverCut) {
  struct Case {
    std::string commandLine, currentDirectory, moduleFileName;
    bool noFile;
    std::string settingsPath;  // empty: refused
  };
  const std::string bin = "/opt/m/bin/morvex";
  const std::string fits = "/" + std::string(499 - 1 - 11, 'd');  // 499 characters with "/morvex.ini"
  const Case cases[] = {
      {bin + " /home/u/a.wav", "/home/u", bin, false, "/opt/m/bin/morvex.ini"},
      {"./morvex My.EXE.wav", "/home/u/b", "/home/u/b/morvex", false, "/home/u/b/morvex.ini"},
      {bin, "/home/u/music", bin, true, "/home/u/music/morvex.ini"},
      {bin, "/", bin, true, "/morvex.ini"},
      {"morvex a.wav", "/home/u", "morvex", false, "/home/u/morvex.ini"},  // no directory known
      {"/usr/bin/morvex", "/" + std::string(495, 'd'), "/usr/bin/morvex", true, ""},
      {"/usr/bin/morvex", fits, "/usr/bin/morvex", true, fits + "/morvex.ini"},
      {"x a.wav", "/", "/" + std::string(600, 'p') + "/morvex", false, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DeriveSettingsPath(c.commandLine, c.currentDirectory, c.moduleFileName, c.noFile).settingsPath,
              c.settingsPath)
        << c.commandLine;
  }
}

}  // namespace
