#include "app/settings_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Windows(const std::string& commandLine, const std::string& cwd, const std::string& module,
                    bool noFile) {
  return DeriveSettingsPath(commandLine, cwd, module, noFile, '\\').settingsPath;
}

std::string Linux(const std::string& commandLine, const std::string& cwd, const std::string& module,
                  bool noFile) {
  return DeriveSettingsPath(commandLine, cwd, module, noFile, '/').settingsPath;
}

const std::string kModule = "C:\\Tools\\morvex.exe";

TEST(SettingsPathWindows, WithoutAFileTheCurrentDirectoryHoldsIt) {
  EXPECT_EQ(Windows("C:\\Tools\\morvex.exe", "D:\\work", kModule, true), "D:\\work\\morvex.ini");
  EXPECT_EQ(Windows("C:\\Tools\\morvex.exe", "D:\\", kModule, true), "D:\\morvex.ini");
}

TEST(SettingsPathWindows, WithAFileTheExecutableNameGivesIt) {
  EXPECT_EQ(Windows("C:\\Tools\\morvex.exe a.wav", "D:\\work", kModule, false), "C:\\Tools\\morvex.ini");
  // Only the text after the last backslash is lowercased.
  EXPECT_EQ(Windows("C:\\Tools\\MORVEX.exe a.wav", "D:\\work", kModule, false), "C:\\Tools\\morvex.ini");
  // A quoted executable path loses its quote.
  EXPECT_EQ(Windows("\"C:\\Tools\\morvex.exe\" a.wav", "D:\\work", kModule, false), "C:\\Tools\\morvex.ini");
  // A quoted argument with spaces and backslashes does not disturb it.
  EXPECT_EQ(Windows("C:\\Tools\\morvex.exe \"C:\\My Music\\x.wav\"", "D:\\work", kModule, false),
            "C:\\Tools\\morvex.ini");
}

TEST(SettingsPathWindows, TheBareNameMeansTheCurrentDirectory) {
  EXPECT_EQ(Windows("morvex.exe a.wav", "D:\\snd", kModule, false), "D:\\snd\\morvex.ini");
  EXPECT_EQ(Windows("\"morvex.exe\" a.wav", "D:\\snd", kModule, false), "D:\\snd\\morvex.ini");
}

TEST(SettingsPathWindows, AnotherTenCharacterNameGoesBesideTheExecutable) {
  const SettingsPathResult r =
      DeriveSettingsPath("abcdef.exe a.wav", "D:\\snd", "C:\\bin\\abcdef.exe", false, '\\');
  EXPECT_EQ(r.exeDerivedPath, "abcdef.ini");
  EXPECT_EQ(r.settingsPath, "C:\\bin\\abcdef.ini");
  // Ten characters with a drive root are a path already.
  EXPECT_EQ(Windows("C:\\abc.exe a.wav", "D:\\snd", "E:\\other\\abc.exe", false), "C:\\abc.ini");
}

TEST(SettingsPathWindows, NoExeFoundMeansBesideTheExecutable) {
  // Upper-case .EXE in the executable, and an argument with a backslash: the lowercasing reaches
  // only the argument's file name, so ".exe" is not found.
  const SettingsPathResult r = DeriveSettingsPath("\"C:\\Tools\\Morvex.EXE\" C:\\music\\a.wav", "D:\\work",
                                                  "C:\\Tools\\Morvex.EXE", false, '\\');
  EXPECT_EQ(r.exeDerivedPath, "C:\\Tools\\morvex.ini");
  EXPECT_EQ(r.settingsPath, "C:\\Tools\\morvex.ini");
}

TEST(SettingsPathLinux, AFileArgumentPutsItBesideTheExecutable) {
  EXPECT_EQ(Linux("/opt/morvex/bin/morvex /home/u/a.wav", "/home/u", "/opt/morvex/bin/morvex", false),
            "/opt/morvex/bin/morvex.ini");
  EXPECT_EQ(Linux("./morvex My Song.WAV", "/home/u/build", "/home/u/build/morvex", false),
            "/home/u/build/morvex.ini");
  EXPECT_EQ(Linux("morvex a.wav", "/home/u", "/usr/bin/morvex", false), "/usr/bin/morvex.ini");
}

TEST(SettingsPathLinux, NoArgumentPutsItInTheCurrentDirectory) {
  EXPECT_EQ(Linux("/opt/morvex/bin/morvex", "/home/u/music", "/opt/morvex/bin/morvex", true),
            "/home/u/music/morvex.ini");
  EXPECT_EQ(Linux("/opt/morvex/bin/morvex", "/", "/opt/morvex/bin/morvex", true), "/morvex.ini");
}

TEST(SettingsPathLinux, AModuleWithoutDirectoryFallsBackToTheCurrentDirectory) {
  EXPECT_EQ(Linux("morvex a.wav", "/home/u", "morvex", false), "/home/u/morvex.ini");
}

TEST(SettingsPath, PathsThatDoNotFitAreRefusedNotCut) {
  const std::string longDir = "/" + std::string(495, 'd');
  EXPECT_EQ(Linux("/usr/bin/morvex", longDir, "/usr/bin/morvex", true), "");
  const std::string longExe = "C:\\" + std::string(600, 'p') + "\\morvex.exe a.wav";
  const SettingsPathResult r = DeriveSettingsPath(longExe, "D:\\", "C:\\morvex.exe", false, '\\');
  EXPECT_EQ(r.exeDerivedPath, "");
  EXPECT_EQ(r.settingsPath, "");
  // 499 characters still fit.
  const std::string fits = "/" + std::string(499 - 1 - 11, 'd');
  EXPECT_EQ(Linux("/usr/bin/morvex", fits, "/usr/bin/morvex", true).size(), 499u);
}

TEST(SettingsPath, AnEmptyCommandLineStillNamesAFile) {
  EXPECT_EQ(Linux("", "/home/u", "/usr/bin/morvex", false), "/usr/bin/morvex.ini");
}

}  // namespace
