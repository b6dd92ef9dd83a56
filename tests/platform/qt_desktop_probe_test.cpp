#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/display/qt/desktop_probe.h"

namespace morvex::display::qt {
namespace {

// Sets the desktop variables for one test and puts the previous values back.
class DesktopProbeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved_.emplace_back(value ? std::optional<std::string>(value) : std::nullopt);
      unsetenv(name);
    }
  }
  void TearDown() override {
    for (size_t i = 0; i < saved_.size(); ++i) {
      if (saved_[i]) {
        setenv(kNames[i], saved_[i]->c_str(), 1);
      } else {
        unsetenv(kNames[i]);
      }
    }
  }
  static constexpr const char* kNames[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
  std::vector<std::optional<std::string>> saved_;
};

// Unset, empty, or naming servers that do not answer: no desktop; a chosen Qt platform is trusted.
TEST_F(DesktopProbeTest, OnlyAnsweringServersOrAChosenQtPlatformMeanADesktop) {
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
  ASSERT_TRUE(desktop);
  EXPECT_EQ(desktop->platform, "");
  EXPECT_TRUE(desktop->connections.empty());
}

TEST_F(DesktopProbeTest, PluginsAreLookedUpByName) {
  if (!PlatformPluginInstalled("offscreen")) GTEST_SKIP() << "Qt's offscreen platform is not installed";
  EXPECT_FALSE(PlatformPluginInstalled("offscr"));  // a prefix of a name is not the name
  EXPECT_FALSE(PlatformPluginInstalled("nosuchplatform"));
}

}  // namespace
}  // namespace morvex::display::qt
