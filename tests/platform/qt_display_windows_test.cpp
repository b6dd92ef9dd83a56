#include <QIcon>
#include <QPlainTextEdit>
#include <QWindow>
#include <atomic>
#include <cstdlib>
#include <thread>

#include "platform/user/window_info.h"
#include "qt_display_fixture.h"
#include "resources/icons.h"

namespace morvex::display::qt::testing {
namespace {

// The whole test program runs without a desktop: the Qt tests on Qt's offscreen platform, all
// others on the in-memory display whatever the developer's session offers.
class OffscreenEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  // Qt lets its font configuration go only with the application; the Qt displays are gone by
  // now (each test puts the in-memory one back).
  void TearDown() override { delete QCoreApplication::instance(); }
};
[[maybe_unused]] const auto* const offscreen = ::testing::AddGlobalTestEnvironment(new OffscreenEnvironment);

// What the desktop shows of a widget: its flushed backing store, not a fresh rendering.
QImage OnScreen(QWidget* widget) {
  return widget->screen()->grabWindow(widget->winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

void Fill(gdi::Surface& surface, int left, int top, int right, int bottom, uint32_t colour) {
  {
    std::lock_guard lock(surface.mutex());
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) surface.pixels()[y * surface.width() + x] = colour;
    }
  }
  surface.notifyChanged();
}

using QtWindowsTest = QtDisplayTest;

TEST_F(QtWindowsTest, TopLevelWindowIsAWidgetAtItsClientAreaWithTitleAndIcon) {
  HWND hwnd = Create("スペクトル fft window", 100, 100, 300, 200);
  QWidget* widget = display->widgetOf(hwnd);
  ASSERT_NE(widget, nullptr);
  EXPECT_TRUE(widget->isVisible());
  EXPECT_EQ(widget->windowTitle(), QString::fromUtf8("スペクトル fft window"));
  // The outer rectangle less the frame of 8, 31, 8 and 8 pixels.
  EXPECT_EQ(widget->geometry(), QRect(108, 131, 284, 161));
  const QImage icon = widget->windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(icon.size(), QSize(32, 32));
  const uint32_t* expected = resources::IconPixels(102);
  for (int i : {0, 33, 16 * 32 + 5, 1023}) EXPECT_EQ(icon.pixel(i % 32, i / 32), expected[i]) << i;

  SetWindowTextA(hwnd, "sg window");
  EXPECT_EQ(widget->windowTitle(), QStringLiteral("sg window"));
  MoveWindow(hwnd, 40, 50, 416, 339, TRUE);
  EXPECT_EQ(widget->geometry(), QRect(48, 81, 400, 300));
  ShowWindow(hwnd, SW_HIDE);
  EXPECT_FALSE(widget->isVisible());
  ShowWindow(hwnd, SW_SHOWMINIMIZED);
  EXPECT_TRUE(widget->isMinimized());
  ShowWindow(hwnd, SW_RESTORE);
  EXPECT_FALSE(widget->isMinimized());
  EXPECT_EQ(widget->geometry(), QRect(48, 81, 400, 300));
  DestroyWindow(hwnd);
  EXPECT_EQ(display->widgetOf(hwnd), nullptr);
}

TEST_F(QtWindowsTest, DrawingFromAnotherThreadReachesTheScreen) {
  HWND hwnd = Create("drawn", 50, 50, 216, 139);
  QWidget* widget = display->widgetOf(hwnd);
  ASSERT_TRUE(PumpUntil([&] { return widget->windowHandle()->isExposed() && OnScreen(widget).pixel(15, 15) == 0xFFFFFFFFu; }));
  const auto surface = user::DescribeWindow(hwnd)->surface;
  std::thread([&] { Fill(*surface, 10, 10, 30, 20, 0xFFFF0000u); }).join();
  ASSERT_TRUE(PumpUntil([&] { return OnScreen(widget).pixel(15, 15) == 0xFFFF0000u; }));
  const QImage shown = OnScreen(widget);
  EXPECT_EQ(shown.pixel(29, 19), 0xFFFF0000u);
  EXPECT_EQ(shown.pixel(30, 19), 0xFFFFFFFFu);
  EXPECT_EQ(shown.pixel(9, 10), 0xFFFFFFFFu);
}

TEST_F(QtWindowsTest, EditControlIsAReadOnlyTextViewInsideItsParent) {
  HWND parent = Create("debug", 0, 0, 350, 250);
  HWND edit = CreateWindowExA(0, "edit", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, 0, 0, 0, 0, parent,
                              nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  auto* view = qobject_cast<QPlainTextEdit*>(display->widgetOf(edit));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->parentWidget(), display->widgetOf(parent));
  EXPECT_TRUE(view->isReadOnly());
  MoveWindow(edit, 0, 0, 334, 211, TRUE);
  SetWindowTextA(edit, "a\r\nb");
  EXPECT_EQ(view->toPlainText(), QStringLiteral("a\nb"));
  EXPECT_EQ(view->document()->blockCount(), 2);
  EXPECT_EQ(view->geometry(), QRect(0, 0, 334, 211));
  EXPECT_TRUE(view->isVisible());
  DestroyWindow(parent);
  EXPECT_EQ(display->widgetOf(edit), nullptr);
}

}  // namespace
}  // namespace morvex::display::qt::testing
