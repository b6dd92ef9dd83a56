#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/display/qt/desktop_probe.h"

namespace morvex::display::qt {
namespace {

// Unset, empty, or naming servers that do not answer: no desktop; a chosen Qt platform is
// trusted. Plugins are found by their whole name.
TEST(DesktopProbeTest, OnlyAnsweringServersOrAChosenQtPlatformMeanADesktop) {
  const char* const names[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
  std::optional<std::string> saved[3];
  for (int i = 0; i < 3; ++i) {
    if (const char* value = std::getenv(names[i])) saved[i] = value;
    unsetenv(names[i]);
  }
  EXPECT_FALSE(DesktopNamed());
  EXPECT_FALSE(FindDesktop());
  setenv("DISPLAY", "", 1);
  EXPECT_FALSE(DesktopNamed());
  EXPECT_FALSE(FindDesktop());
  setenv("DISPLAY", ":87", 1);
  setenv("WAYLAND_DISPLAY", "morvex-test-no-such-display", 1);
  EXPECT_TRUE(DesktopNamed());
  EXPECT_FALSE(FindDesktop());
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const auto desktop = FindDesktop();
  for (int i = 0; i < 3; ++i) saved[i] ? setenv(names[i], saved[i]->c_str(), 1) : unsetenv(names[i]);
  ASSERT_TRUE(desktop);
  EXPECT_EQ(desktop->platform, "");
  EXPECT_TRUE(desktop->connections.empty());

  if (!PlatformPluginInstalled("offscreen")) GTEST_SKIP() << "Qt's offscreen platform is not installed";
  EXPECT_FALSE(PlatformPluginInstalled("offscr"));
  EXPECT_FALSE(PlatformPluginInstalled("nosuchplatform"));
}

}  // namespace
}  // namespace morvex::display::qt
