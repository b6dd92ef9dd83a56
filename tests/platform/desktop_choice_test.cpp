// Which of the offered display servers the program starts Qt on: X whenever it answers, since only
// there can the program place its windows and read back where they are; Wayland when nothing else
// answers; the user's own QT_QPA_PLATFORM over both.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/display/qt/desktop_probe.h"
#include "support/temp_dir.h"

namespace {

using morvex::display::qt::FindDesktop;
using morvex::display::qt::PlatformPluginInstalled;

// A virtual X server on a display number it picks itself, kept up between the probes' connections;
// Number() is empty when none started.
class VirtualX {
 public:
  VirtualX() {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(pipeEnds[0]);
      const std::string fd = std::to_string(pipeEnds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-noreset", "-screen", "0", "320x240x24",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(pipeEnds[1]);
    // The server writes its display number and a line end once it accepts connections.
    std::string number;
    char c = 0;
    while (read(pipeEnds[0], &c, 1) == 1 && c != '\n') number += c;
    close(pipeEnds[0]);
    if (c == '\n' && !number.empty()) number_ = ":" + number;
  }
  ~VirtualX() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  const std::string& Number() const { return number_; }

 private:
  pid_t pid_ = -1;
  std::string number_;
};

// A socket where a Wayland client finds its compositor: enough for a client's connection to be
// accepted, which is all the choice asks of it.
class ListeningWaylandSocket {
 public:
  explicit ListeningWaylandSocket(const std::filesystem::path& path) {
    fd_ = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    listening_ = bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(fd_, 4) == 0;
  }
  ~ListeningWaylandSocket() { close(fd_); }
  bool Listening() const { return listening_; }

 private:
  int fd_ = -1;
  bool listening_ = false;
};

TEST(DesktopChoice, XWhereverItAnswersThenWaylandAndTheUsersQtPlatformOverBoth) {
  test_support::TempDir dir;
  // Qt's Wayland plugin is often not installed on a build machine; the choice only looks for its file.
  const auto platforms = dir.path() / "plugins" / "platforms";
  std::filesystem::create_directories(platforms);
  dir.Write("plugins/platforms/libqwayland-generic.so", "");
  setenv("QT_PLUGIN_PATH", (dir.path() / "plugins").c_str(), 1);
  if (!PlatformPluginInstalled("wayland") || !PlatformPluginInstalled("xcb")) {
    GTEST_SKIP() << "Qt's plugin folders were read before this test, or its xcb platform is not installed";
  }
  VirtualX x;
  if (x.Number().empty()) GTEST_SKIP() << "Xvfb cannot be started";
  ListeningWaylandSocket wayland(dir.path() / "wayland-morvex-test");
  ASSERT_TRUE(wayland.Listening());
  setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);

  const struct {
    const char* display;
    const char* waylandDisplay;
    const char* qtPlatform;
    const char* chosen;  // Qt's platform list; null: no desktop
  } cases[] = {
      {"X", "wayland-morvex-test", nullptr, "xcb;wayland"},
      {"X", nullptr, nullptr, "xcb"},
      {nullptr, "wayland-morvex-test", nullptr, "wayland"},
      {":87", "wayland-morvex-test", nullptr, "wayland"},  // an X display that does not answer
      {"X", "wayland-morvex-no-such-socket", nullptr, "xcb"},
      {"X", "wayland-morvex-test", "wayland", ""},  // the user's choice: left to Qt
      {"X", "wayland-morvex-test", "xcb", ""},
      {":87", "wayland-morvex-no-such-socket", nullptr, nullptr},
  };
  for (const auto& c : cases) {
    const auto set = [](const char* name, const char* value) {
      if (value != nullptr) {
        setenv(name, value, 1);
      } else {
        unsetenv(name);
      }
    };
    set("DISPLAY", c.display != nullptr && std::strcmp(c.display, "X") == 0 ? x.Number().c_str() : c.display);
    set("WAYLAND_DISPLAY", c.waylandDisplay);
    set("QT_QPA_PLATFORM", c.qtPlatform);
    const auto desktop = FindDesktop();
    const std::string label = std::string(c.display ? c.display : "-") + " " +
                              (c.waylandDisplay ? c.waylandDisplay : "-") + " " + (c.qtPlatform ? c.qtPlatform : "-");
    if (c.chosen == nullptr) {
      EXPECT_FALSE(desktop) << label;
    } else {
      ASSERT_TRUE(desktop) << label;
      EXPECT_EQ(desktop->platform, c.chosen) << label;
    }
  }
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

}  // namespace
