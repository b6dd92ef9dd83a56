#include <QApplication>
#include <QApplicationStateChangeEvent>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <tuple>

#include "platform/display/qt/key_codes.h"
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

// Input arrives in the order it happened, characters translated; a grey close item stops the close.
TEST_F(QtInputTest, InputArrivesAsItsMessagesInTheOrderItHappened) {
  EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  QCloseEvent ignored;
  QCoreApplication::sendEvent(widget, &ignored);
  EXPECT_FALSE(ignored.isAccepted());
  Pump();
  EXPECT_EQ(Last(hwnd, WM_SYSCOMMAND), nullptr);
  EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
  Send(QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
  Send(QKeyEvent(QEvent::KeyPress, Qt::Key_Minus, Qt::NoModifier, QStringLiteral("-")));
  Send(QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t")));
  Send(QKeyEvent(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier, QString()));
  Pump();
  Mouse(QEvent::MouseMove, {10, 20}, Qt::NoButton, Qt::NoButton);
  Mouse(QEvent::MouseButtonPress, {30, 40}, Qt::RightButton, Qt::RightButton);
  Mouse(QEvent::MouseButtonRelease, {31, 41}, Qt::RightButton, Qt::NoButton);
  Mouse(QEvent::MouseButtonRelease, {5, 6}, Qt::MiddleButton, Qt::NoButton);
  Mouse(QEvent::MouseButtonPress, {7, 8}, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseMove, {400, 8}, Qt::NoButton, Qt::LeftButton);  // a drag beyond the client area
  Mouse(QEvent::MouseButtonRelease, {-3, 8}, Qt::LeftButton, Qt::NoButton);
  Send(QFocusEvent(QEvent::FocusOut, Qt::PopupFocusReason));  // opening a popup menu is no focus loss
  Send(QFocusEvent(QEvent::FocusOut, Qt::ActiveWindowFocusReason));
  QCloseEvent close;
  QCoreApplication::sendEvent(widget, &close);
  EXPECT_FALSE(close.isAccepted());  // the window layer decides
  Pump();
  std::vector<std::tuple<UINT, WPARAM, LPARAM>> seen;
  for (const Received& r : messages) {
    const bool mouse = r.msg >= WM_MOUSEMOVE && r.msg <= WM_MBUTTONUP;
    if (r.hwnd == hwnd && (mouse || r.msg == WM_KEYDOWN || r.msg == WM_CHAR || r.msg == WM_SYSCOMMAND ||
                           r.msg == WM_KILLFOCUS || r.msg == WM_CLOSE || r.msg == WM_DESTROY)) {
      seen.emplace_back(r.msg, r.msg == WM_KILLFOCUS ? 0 : r.wParam, mouse || r.msg == WM_CHAR ? r.lParam : 0);
    }
  }
  const std::vector<std::tuple<UINT, WPARAM, LPARAM>> expected = {
      {WM_KEYDOWN, 'A', 0},          {WM_KEYDOWN, 0xBD, 0},
      {WM_KEYDOWN, VK_TAB, 0},       {WM_KEYDOWN, 0x74, 0},
      {WM_CHAR, 'a', 1},             {WM_CHAR, '-', 1},  // the 32-bit key data: one press
      {WM_CHAR, '\t', 1},            {WM_MOUSEMOVE, 0, MAKELPARAM(10, 20)},
      {WM_RBUTTONDOWN, 0x0002, MAKELPARAM(30, 40)}, {WM_RBUTTONUP, 0, MAKELPARAM(31, 41)},
      {WM_MBUTTONUP, 0, MAKELPARAM(5, 6)},          {WM_LBUTTONDOWN, 0x0001, MAKELPARAM(7, 8)},
      {WM_KILLFOCUS, 0, 0},          {WM_SYSCOMMAND, SC_CLOSE, 0},
      {WM_CLOSE, 0, 0},              {WM_DESTROY, 0, 0},
  };
  EXPECT_EQ(seen, expected);
  EXPECT_FALSE(IsWindow(hwnd));
}

// The desktop's moves, resizes, minimize, restore and activation reach the window layer.
TEST_F(QtInputTest, DesktopChangesReachTheWindowLayer) {
  widget->setGeometry(200, 150, 320, 240);
  Pump();
  RECT rect;
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}), (std::vector<LONG>{192, 119, 528, 398}));
  ASSERT_TRUE(Last(hwnd, WM_SIZE) && Last(hwnd, WM_MOVE));
  EXPECT_EQ(Last(hwnd, WM_SIZE)->lParam, MAKELPARAM(320, 240));
  EXPECT_EQ(Last(hwnd, WM_MOVE)->lParam, MAKELPARAM(200, 150));
  widget->setWindowState(Qt::WindowMinimized);
  Pump();
  ASSERT_NE(Last(hwnd, WM_SYSCOMMAND), nullptr);
  EXPECT_EQ(Last(hwnd, WM_SYSCOMMAND)->wParam, static_cast<WPARAM>(SC_MINIMIZE));
  EXPECT_TRUE(user::DescribeWindow(hwnd)->minimized);
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(rect.left, -32000) << "where a minimized window lies";
  widget->setWindowState(Qt::WindowNoState);
  Pump();
  EXPECT_EQ(Last(hwnd, WM_SYSCOMMAND)->wParam, static_cast<WPARAM>(SC_RESTORE));
  EXPECT_FALSE(user::DescribeWindow(hwnd)->minimized);
  EXPECT_EQ(widget->geometry(), QRect(200, 150, 320, 240));
  HWND other = Create("other", 400, 100, 216, 139);
  Pump();
  messages.clear();
  for (auto state : {Qt::ApplicationInactive, Qt::ApplicationHidden, Qt::ApplicationActive}) {
    QApplicationStateChangeEvent change(state);
    QCoreApplication::sendEvent(qApp, &change);
  }
  Pump();
  for (HWND window : {hwnd, other}) {
    std::vector<WPARAM> seen;
    for (const Received& r : messages) {
      if (r.hwnd == window && r.msg == WM_ACTIVATEAPP) seen.push_back(r.wParam);
    }
    EXPECT_EQ(seen, (std::vector<WPARAM>{FALSE, TRUE}));
  }
}

// The keypad's digits, the Menu key (the system menu) and keys without a code; characters beyond
// 16 bits come whole.
TEST(QtKeyCodesTest, KeysMapToTheirVirtualKeyCodesAndCharacters) {
  EXPECT_EQ(VirtualKeyOf(Qt::Key_7, Qt::KeypadModifier), 0x67u);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Menu, Qt::NoModifier), 0x5Du);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Exclam, Qt::ShiftModifier), 0u);
  EXPECT_EQ(CharacterOf(QString::fromUtf8("😀")), 0x1F600u);  // a surrogate pair in Qt's text
  EXPECT_EQ(CharacterOf(QString()), 0u);
}

}  // namespace
}  // namespace morvex::display::qt::testing
