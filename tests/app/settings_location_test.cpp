// Where an installed program keeps its settings.
#include <gtest/gtest.h>

#include <string>

#include "app/settings_path.h"

namespace {

TEST(InstalledSettings, InstallFolderOrAFolderTheUserCannotWriteMovesThemToTheConfigFolder) {
  const std::string derived = "/somewhere/morvex.ini";
  const std::string longConfig = "/" + std::string(490, 'c');
  const struct {
    std::string module;
    bool writable;
    std::string xdg, home, expected;
  } cases[] = {
      {"/usr/bin/morvex", true, "", "/home/u", "/home/u/.config/morvex/morvex.ini"},  // root, installed
      {"/usr/bin/morvex", false, "/x/cfg", "/home/u", "/x/cfg/morvex/morvex.ini"},
      {"/opt/m/bin/morvex", false, "/x/cfg/", "/home/u", "/x/cfg/morvex/morvex.ini"},
      {"/opt/m/bin/morvex", false, "cfg", "/home/u/", "/home/u/.config/morvex/morvex.ini"},  // relative: passed over
      {"/morvex", false, "", "/", "/.config/morvex/morvex.ini"},
      {"/home/u/build/morvex", true, "/x/cfg", "/home/u", derived},  // a build or copy the user owns
      {"/usr/bin/sub/morvex", true, "/x/cfg", "/home/u", derived},
      {"/usr/bi/morvex", true, "/x/cfg", "/home/u", derived},
      {"/opt/m/bin/morvex", false, "", "", derived},  // no configuration folder known
      {"/opt/m/bin/morvex", false, "", "home", derived},
      {"morvex", false, "/x/cfg", "/home/u", derived},  // the executable's folder is unknown
      {"/usr/bin/morvex", false, longConfig, "/home/u", ""},  // would not fit: refused, never cut
  };
  for (const auto& c : cases) {
    const InstalledProgram program{"/usr/bin", c.writable, c.xdg, c.home};
    EXPECT_EQ(InstalledSettingsPath(derived, c.module, program), c.expected) << c.module << " " << c.xdg;
  }
  // A derived path refused as too long does not stop an installed program from keeping settings.
  EXPECT_EQ(InstalledSettingsPath("", "/usr/bin/morvex", {"/usr/bin", false, "/x", ""}), "/x/morvex/morvex.ini");
}

}  // namespace
