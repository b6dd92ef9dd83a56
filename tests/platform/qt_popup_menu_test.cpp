#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include "qt_display_fixture.h"

namespace morvex::display::qt::testing {
namespace {

class QtPopupMenuTest : public QtDisplayTest {
 protected:
  void SetUp() override {
    QtDisplayTest::SetUp();
    if (!display) return;
    debug = CreateMenu();
    AppendMenuA(debug, MF_STRING, 73, "vslineにする");
    AppendMenuA(debug, MF_STRING, 74, "notice");
    menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "再生(&P)");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, 2, "stop\tS");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(debug), "menu for debug");
    CheckMenuItem(menu, 2, MF_CHECKED);
    EnableMenuItem(menu, 1, MF_GRAYED);
    CheckMenuItem(menu, 73, MF_CHECKED);  // found inside the submenu
    EnableMenuItem(menu, 73, MF_GRAYED);
  }
  void TearDown() override {
    if (menu) DestroyMenu(menu);
    QtDisplayTest::TearDown();
  }
  HMENU menu = nullptr;
  HMENU debug = nullptr;
};

// A menu as the user sees it: labels, grey and checked items, separators and submenus.
QString Described(const QMenu* menu) {
  QStringList items;
  for (const QAction* action : menu->actions()) {
    QString item = action->isSeparator() ? QStringLiteral("-") : action->text();
    if (!action->isEnabled()) item += QStringLiteral(" grey");
    if (action->isChecked()) item += QStringLiteral(" checked");
    if (action->menu()) item += QStringLiteral(" [") + Described(action->menu()) + QStringLiteral("]");
    items << item;
  }
  return items.join(QStringLiteral(", "));
}

struct Opened {
  QPoint at;
  QString items;
};

// Chooses the item with `label` in the popup that opens next, as a user with the keyboard would.
void ChooseWhenOpen(const QString& label, Opened* opened) {
  QTimer::singleShot(0, qApp, [label, opened] {
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!popup) return;
    opened->at = popup->pos();
    opened->items = Described(popup);
    for (QAction* action : popup->actions()) {
      if (action->text() == label) popup->setActiveAction(action);
    }
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(popup, &key);
  });
}

TEST_F(QtPopupMenuTest, PopupAndSystemMenusShowAtTheirPointsAndPostTheChoice) {
  HWND hwnd = Create("owner", 100, 100, 316, 239);
  Pump();
  messages.clear();
  Opened opened;
  ChooseWhenOpen(QStringLiteral("stop\tS"), &opened);
  EXPECT_TRUE(TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, 200, 150, 0, hwnd, nullptr));
  EXPECT_EQ(opened.at, QPoint(200, 150));
  EXPECT_EQ(opened.items,
            QString::fromUtf8("再生(&P) grey, -, stop\tS checked, menu for debug [vslineにする grey checked, notice]"));
  Pump();
  EXPECT_EQ(MessagesOf(hwnd, {WM_INITMENUPOPUP, WM_UNINITMENUPOPUP, WM_COMMAND}),
            (std::vector<UINT>{WM_INITMENUPOPUP, WM_UNINITMENUPOPUP, WM_COMMAND}));
  ASSERT_NE(Last(hwnd, WM_COMMAND), nullptr);
  EXPECT_EQ(Last(hwnd, WM_COMMAND)->wParam, 2u);

  // A middle click's default handling opens the system menu at the click's screen point.
  AppendMenuA(GetSystemMenu(hwnd, FALSE), MF_STRING, 85, "5秒早送り");
  ChooseWhenOpen(QString::fromUtf8("5秒早送り"), &opened);
  DefWindowProcA(hwnd, WM_MBUTTONUP, 0, MAKELPARAM(10, 20));
  EXPECT_EQ(opened.at, QPoint(118, 151));
  EXPECT_EQ(opened.items, QString::fromUtf8("Close, 5秒早送り"));
  Pump();
  ASSERT_NE(Last(hwnd, WM_SYSCOMMAND), nullptr);
  EXPECT_EQ(Last(hwnd, WM_SYSCOMMAND)->wParam, 85u);
}

constexpr UINT kOpenBox = WM_USER + 1;
WPARAM charInMenu = 0;
bool postedInMenu = false, timerInBox = false;
int boxAnswer = 0;

// A character typed into the open menu reaches its owner, whose answer, a posted message, opens
// a box from inside the menu's loop; the timer firing inside the box destroys the owner and
// posts the quit, which ends both.
LRESULT CALLBACK ModalProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CHAR && QApplication::activePopupWidget()) {
    charInMenu = wParam;
    PostMessageA(hwnd, kOpenBox, 0, 0);
  }
  if (msg == kOpenBox) {
    postedInMenu = QApplication::activePopupWidget() != nullptr;
    boxAnswer = MessageBoxA(hwnd, "inner", "", MB_OKCANCEL);
  }
  if (msg == WM_TIMER && QApplication::activeModalWidget()) {
    timerInBox = true;
    DestroyWindow(hwnd);
    PostQuitMessage(5);
  }
  return RecordingProc(hwnd, msg, wParam, lParam);
}

TEST_F(QtPopupMenuTest, KeysMessagesAndTimersFlowInsideTheMenuAndABoxItOpensUntilAQuitEndsBoth) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = ModalProc;
  cls.lpszClassName = "qtmodal";
  RegisterClassA(&cls);
  HWND owner = CreateWindowExA(0, "qtmodal", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 316, 239,
                               nullptr, nullptr, nullptr, nullptr);
  Pump();
  SetTimer(owner, 8, 10, nullptr);
  QTimer::singleShot(0, qApp, [] {
    QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    if (QWidget* popup = QApplication::activePopupWidget()) QCoreApplication::sendEvent(popup, &x);
  });
  // Should nothing flow, menu and box are closed after a generous while so that the test fails.
  QTimer guard;
  QObject::connect(&guard, &QTimer::timeout, [] {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  guard.start(10000);
  EXPECT_TRUE(TrackPopupMenu(menu, 0, 200, 150, 0, owner, nullptr));
  EXPECT_EQ(charInMenu, static_cast<WPARAM>('x'));
  EXPECT_TRUE(postedInMenu && timerInBox);
  EXPECT_EQ(boxAnswer, IDCANCEL);
  EXPECT_FALSE(IsWindow(owner));
  MSG msg;
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.wParam, 5u);
}

}  // namespace
}  // namespace morvex::display::qt::testing
