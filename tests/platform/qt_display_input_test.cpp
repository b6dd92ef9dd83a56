#include <QApplication>
#include <QApplicationStateChangeEvent>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include "platform/user/window_info.h"
#include "qt_display_fixture.h"

namespace morvex::display::qt::testing {
namespace {

class QtInputTest : public QtDisplayTest {
 protected:
  void SetUp() override {
    QtDisplayTest::SetUp();
    if (!display) return;
    hwnd = Create("input", 100, 100, 316, 239);
    widget = display->widgetOf(hwnd);
    Pump();
    messages.clear();
  }
  void Send(QEvent&& event) { QCoreApplication::sendEvent(widget, &event); }
  void Mouse(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    Send(QMouseEvent(type, at, widget->mapToGlobal(at), button, buttons, Qt::NoModifier));
  }
  HWND hwnd = nullptr;
  QWidget* widget = nullptr;
};

TEST_F(QtInputTest, KeysBecomeKeyDownWithTheVirtualKeyAndTranslateToCharacters) {
  Send(QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
  Send(QKeyEvent(QEvent::KeyPress, Qt::Key_Minus, Qt::NoModifier, QStringLiteral("-")));
  Send(QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t")));
  Send(QKeyEvent(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier, QString()));
  Pump();
  std::vector<std::pair<UINT, WPARAM>> seen;
  for (const Received& r : messages) {
    if (r.hwnd == hwnd && (r.msg == WM_KEYDOWN || r.msg == WM_CHAR)) seen.emplace_back(r.msg, r.wParam);
  }
  const std::vector<std::pair<UINT, WPARAM>> expected = {
      {WM_KEYDOWN, 'A'}, {WM_KEYDOWN, 0xBD}, {WM_KEYDOWN, VK_TAB}, {WM_KEYDOWN, 0x74},
      {WM_CHAR, 'a'},    {WM_CHAR, '-'},     {WM_CHAR, '\t'},
  };
  EXPECT_EQ(seen, expected);
}

TEST_F(QtInputTest, MouseMessagesCarryClientCoordinatesAndButtonsInOrder) {
  Mouse(QEvent::MouseMove, {10, 20}, Qt::NoButton, Qt::NoButton);
  Mouse(QEvent::MouseButtonPress, {30, 40}, Qt::RightButton, Qt::RightButton);
  Mouse(QEvent::MouseButtonRelease, {31, 41}, Qt::RightButton, Qt::NoButton);
  Mouse(QEvent::MouseButtonRelease, {5, 6}, Qt::MiddleButton, Qt::NoButton);
  Mouse(QEvent::MouseButtonPress, {7, 8}, Qt::LeftButton, Qt::LeftButton);
  // A drag beyond the client area is not the window's.
  Mouse(QEvent::MouseMove, {400, 8}, Qt::NoButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, {-3, 8}, Qt::LeftButton, Qt::NoButton);
  Pump();
  std::vector<std::tuple<UINT, int, int, WPARAM>> seen;
  for (const Received& r : messages) {
    if (r.hwnd == hwnd && r.msg >= WM_MOUSEMOVE && r.msg <= WM_MBUTTONUP) {
      seen.emplace_back(r.msg, static_cast<SHORT>(LOWORD(r.lParam)), static_cast<SHORT>(HIWORD(r.lParam)), r.wParam);
    }
  }
  const std::vector<std::tuple<UINT, int, int, WPARAM>> expected = {
      {WM_MOUSEMOVE, 10, 20, 0}, {WM_RBUTTONDOWN, 30, 40, 0x0002}, {WM_RBUTTONUP, 31, 41, 0},
      {WM_MBUTTONUP, 5, 6, 0},   {WM_LBUTTONDOWN, 7, 8, 0x0001},
  };
  EXPECT_EQ(seen, expected);
}

TEST_F(QtInputTest, CloseButtonBecomesSystemCommandUnlessTheCloseItemIsGrey) {
  QCloseEvent close;
  QCoreApplication::sendEvent(widget, &close);
  EXPECT_FALSE(close.isAccepted());  // the window layer decides
  Pump();
  const Received* command = Last(hwnd, WM_SYSCOMMAND);
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->wParam, static_cast<WPARAM>(SC_CLOSE));

  messages.clear();
  EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  QCloseEvent ignored;
  QCoreApplication::sendEvent(widget, &ignored);
  EXPECT_FALSE(ignored.isAccepted());
  Pump();
  EXPECT_EQ(Last(hwnd, WM_SYSCOMMAND), nullptr);
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_TRUE(widget->isVisible());
}

TEST_F(QtInputTest, InputArrivesInTheOrderItHappened) {
  Send(QKeyEvent(QEvent::KeyPress, Qt::Key_P, Qt::NoModifier, QStringLiteral("p")));
  Mouse(QEvent::MouseMove, {1, 2}, Qt::NoButton, Qt::NoButton);
  QCloseEvent close;
  QCoreApplication::sendEvent(widget, &close);
  Send(QFocusEvent(QEvent::FocusOut, Qt::PopupFocusReason));  // opening a popup menu is no focus loss
  Send(QFocusEvent(QEvent::FocusOut, Qt::ActiveWindowFocusReason));
  Pump();
  EXPECT_EQ(MessagesOf(hwnd, {WM_KEYDOWN, WM_MOUSEMOVE, WM_SYSCOMMAND, WM_KILLFOCUS, WM_CHAR}),
            (std::vector<UINT>{WM_KEYDOWN, WM_MOUSEMOVE, WM_SYSCOMMAND, WM_KILLFOCUS, WM_CHAR}));
}

TEST_F(QtInputTest, DesktopMoveAndResizeReachTheWindowLayer) {
  widget->setGeometry(200, 150, 320, 240);
  Pump();
  RECT rect;
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(rect.left, 192);
  EXPECT_EQ(rect.top, 119);
  EXPECT_EQ(rect.right, 528);
  EXPECT_EQ(rect.bottom, 398);
  const Received* size = Last(hwnd, WM_SIZE);
  ASSERT_NE(size, nullptr);
  EXPECT_EQ(size->lParam, MAKELPARAM(320, 240));
  const Received* move = Last(hwnd, WM_MOVE);
  ASSERT_NE(move, nullptr);
  EXPECT_EQ(move->lParam, MAKELPARAM(200, 150));
  // The window layer's own move is not reported back as the desktop's.
  messages.clear();
  MoveWindow(hwnd, 10, 10, 316, 239, FALSE);
  EXPECT_EQ(MessagesOf(hwnd, {WM_SIZE, WM_MOVE}), (std::vector<UINT>{WM_SIZE, WM_MOVE}));
  EXPECT_EQ(widget->geometry(), QRect(18, 41, 300, 200));
}

TEST_F(QtInputTest, DesktopMinimizeAndRestoreAreSystemCommands) {
  widget->setWindowState(Qt::WindowMinimized);
  Pump();
  const Received* minimize = Last(hwnd, WM_SYSCOMMAND);
  ASSERT_NE(minimize, nullptr);
  EXPECT_EQ(minimize->wParam, static_cast<WPARAM>(SC_MINIMIZE));
  EXPECT_TRUE(user::DescribeWindow(hwnd)->minimized);
  messages.clear();
  widget->setWindowState(Qt::WindowNoState);
  Pump();
  const Received* restore = Last(hwnd, WM_SYSCOMMAND);
  ASSERT_NE(restore, nullptr);
  EXPECT_EQ(restore->wParam, static_cast<WPARAM>(SC_RESTORE));
  EXPECT_FALSE(user::DescribeWindow(hwnd)->minimized);
  EXPECT_EQ(widget->geometry(), QRect(108, 131, 300, 200));
}

TEST_F(QtInputTest, ApplicationActivationChangesNotifyEveryTopLevelWindow) {
  HWND other = Create("other", 400, 100, 216, 139);
  Pump();
  messages.clear();
  QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
  QCoreApplication::sendEvent(qApp, &inactive);
  QApplicationStateChangeEvent stillInactive(Qt::ApplicationHidden);
  QCoreApplication::sendEvent(qApp, &stillInactive);
  QApplicationStateChangeEvent active(Qt::ApplicationActive);
  QCoreApplication::sendEvent(qApp, &active);
  Pump();
  for (HWND window : {hwnd, other}) {
    std::vector<WPARAM> seen;
    for (const Received& r : messages) {
      if (r.hwnd == window && r.msg == WM_ACTIVATEAPP) seen.push_back(r.wParam);
    }
    EXPECT_EQ(seen, (std::vector<WPARAM>{FALSE, TRUE}));
  }
}

}  // namespace
}  // namespace morvex::display::qt::testing
