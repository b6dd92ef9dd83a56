#include <time.h>

#include <QIcon>
#include <QPlainTextEdit>
#include <QScreen>
#include <QWindow>
#include <cstdlib>
#include <optional>
#include <thread>

#include "qt_display_fixture.h"
#include "resources/icons.h"

namespace morvex::display::qt::testing {
namespace {

using namespace std::chrono_literals;

// The whole test program runs without a desktop: Qt tests offscreen, the others in memory.
class OffscreenEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  // Qt frees its font configuration only with the application; every test put its display back.
  void TearDown() override { delete QCoreApplication::instance(); }
};
[[maybe_unused]] const auto* const offscreen = ::testing::AddGlobalTestEnvironment(new OffscreenEnvironment);

using QtWindowsTest = QtDisplayTest;

TEST_F(QtWindowsTest, TopLevelWindowIsAWidgetAtItsClientAreaWithTitleAndIcon) {
  HWND hwnd = Create("スペクトル fft window", 100, 100, 300, 200);
  QWidget* widget = display->widgetOf(hwnd);
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->windowTitle(), QString::fromUtf8("スペクトル fft window"));
  // The outer rectangle less the frame of 8, 31, 8 and 8 pixels.
  EXPECT_EQ(widget->geometry(), QRect(108, 131, 284, 161));
  const QImage icon = widget->windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_RGB32);
  for (int i : {0, 33, 16 * 32 + 5, 1023}) EXPECT_EQ(icon.pixel(i % 32, i / 32), resources::IconPixels(102)[i]) << i;
  SetWindowTextA(hwnd, "sg window");
  EXPECT_EQ(widget->windowTitle(), QStringLiteral("sg window"));
  MoveWindow(hwnd, 40, 50, 416, 339, TRUE);
  EXPECT_EQ(widget->geometry(), QRect(48, 81, 400, 300));
  ShowWindow(hwnd, SW_HIDE);
  EXPECT_FALSE(widget->isVisible());
  ShowWindow(hwnd, SW_SHOWNORMAL);
  EXPECT_TRUE(widget->isVisible());
  // The debug window's edit control: a read-only text view inside its parent, gone with it.
  HWND edit = CreateWindowExA(0, "edit", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, 0, 0, 0, 0, hwnd,
                              nullptr, nullptr, nullptr);
  auto* view = qobject_cast<QPlainTextEdit*>(display->widgetOf(edit));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->parentWidget(), widget);
  EXPECT_TRUE(view->isReadOnly());
  MoveWindow(edit, 0, 0, 334, 211, TRUE);
  SetWindowTextA(edit, "a\r\nb");
  EXPECT_EQ(view->toPlainText(), QStringLiteral("a\nb"));
  EXPECT_EQ(view->geometry(), QRect(0, 0, 334, 211));
  DestroyWindow(hwnd);
  EXPECT_EQ(display->widgetOf(hwnd), nullptr);
  EXPECT_EQ(display->widgetOf(edit), nullptr);
}

// What the desktop shows of a widget: its flushed backing store, not a fresh rendering.
uint32_t ShownPixel(QWidget* widget, int x, int y) {
  return widget->screen()->grabWindow(widget->winId()).toImage().pixel(x, y) & 0xFFFFFFu;
}

// Drawing threads' changes reach the screen while the repaint tick runs and after it has
// stopped for a quiet spell (a lost request hangs this case for its five seconds).
TEST_F(QtWindowsTest, DrawingFromOtherThreadsReachesTheScreenBeforeAndAfterQuietSpells) {
  HWND hwnd = Create("drawn", 50, 50, 216, 139);
  QWidget* widget = display->widgetOf(hwnd);
  auto shows = [&](int x, int y, uint32_t rgb) {
    for (const auto deadline = Clock::now() + 5s; Clock::now() < deadline;) {
      display->processEvents(Clock::now() + 5ms);
      if (widget->windowHandle()->isExposed() && ShownPixel(widget, x, y) == rgb) return true;
    }
    return false;
  };
  ASSERT_TRUE(shows(15, 15, 0xFFFFFF));
  const struct { int left; COLORREF colour; uint32_t rgb; } fills[] = {
      {10, RGB(255, 0, 0), 0xFF0000}, {40, RGB(0, 0, 255), 0x0000FF}, {70, RGB(0, 255, 0), 0x00FF00}};
  for (const auto& fill : fills) {
    std::thread([&] {
      HDC dc = GetDC(hwnd);
      const RECT rect{fill.left, 10, fill.left + 20, 20};
      HBRUSH brush = CreateSolidBrush(fill.colour);
      FillRect(dc, &rect, brush);
      DeleteObject(brush);
      ReleaseDC(hwnd, dc);
    }).join();
    ASSERT_TRUE(shows(fill.left + 5, 15, fill.rgb)) << fill.left;
    EXPECT_EQ(ShownPixel(widget, fill.left + 20, 15), 0xFFFFFFu);
    if (fill.left == 40) display->processEvents(Clock::now() + 100ms);  // the tick stops meanwhile
  }
}

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Wakes before or during a wait an hour long end it (a lost one hangs); idle waits do not spin.
TEST_F(QtWindowsTest, WakesAreNeverLostAndWaitsDoNotSpin) {
  HWND hwnd = Create("loop", 0, 0, 200, 100);
  Pump();
  std::thread([this] { display->wake(); }).join();
  display->processEvents(Clock::now() + 1h);
  const double cpuBefore = ThreadCpuSeconds();
  display->processEvents(Clock::now() + 300ms);
  std::thread poster([hwnd] {
    std::this_thread::sleep_for(200ms);
    PostMessageA(hwnd, WM_USER + 5, 7, 8);
  });
  MSG msg;
  do {
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  } while (msg.message != WM_USER + 5);
  poster.join();
  EXPECT_EQ(msg.hwnd, hwnd);
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_LT(ThreadCpuSeconds() - cpuBefore, 0.08);
}

// Only answering servers or a chosen Qt platform mean a desktop; plugins match by whole name.
TEST(DesktopProbeTest, OnlyAnsweringServersOrAChosenQtPlatformMeanADesktop) {
  unsetenv("QT_QPA_PLATFORM");  // the rest as the test program set it up: no desktop, Qt offscreen
  setenv("DISPLAY", "", 1);
  EXPECT_FALSE(DesktopNamed());
  EXPECT_FALSE(FindDesktop());
  setenv("DISPLAY", ":87", 1);
  setenv("WAYLAND_DISPLAY", "morvex-test-no-such-display", 1);
  EXPECT_TRUE(DesktopNamed());
  EXPECT_FALSE(FindDesktop());
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const auto desktop = FindDesktop();
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  ASSERT_TRUE(desktop);
  EXPECT_EQ(desktop->platform, "");
  EXPECT_TRUE(desktop->connections.empty());
  if (!PlatformPluginInstalled("offscreen")) GTEST_SKIP() << "Qt's offscreen platform is not installed";
  EXPECT_FALSE(PlatformPluginInstalled("offscr"));
  EXPECT_FALSE(PlatformPluginInstalled("nosuchplatform"));
}

}  // namespace
}  // namespace morvex::display::qt::testing
