#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/display/qt/application.h"
#include "platform/display/qt/dialogs.h"
#include "qt_display_fixture.h"

namespace morvex::display::qt::testing {
namespace {

// Path and title are stored only when both fit; a filter list ends at a broken pair.
TEST(QtChosenFileTest, PathAndTitleAreStoredOnlyWhenTheyFit) {
  const struct { const char* path; DWORD maxFile, maxTitle; bool stored; WORD offset; } cases[] = {
      {"/music/song.wav", 17, 9, true, 7}, {"/music/song.wav", 16, 0, true, 7}, {"/music/song.wav", 15, 9, false, 0},
      {"/music/song.wav", 32, 8, false, 0}, {"/a.b/readme", 32, 16, true, 5},
  };
  for (const auto& c : cases) {
    char file[32], title[16];
    std::memset(file, 'x', sizeof file);
    std::memset(title, 'x', sizeof title);
    OPENFILENAMEA ofn{};
    ofn.lpstrFile = file;
    ofn.nMaxFile = c.maxFile;
    ofn.lpstrFileTitle = c.maxTitle ? title : nullptr;
    ofn.nMaxFileTitle = c.maxTitle;
    ASSERT_EQ(StoreChosenFile(ofn, c.path), c.stored) << c.path << " in " << c.maxFile;
    EXPECT_EQ(std::string(file, c.stored ? std::strlen(file) : 1), c.stored ? c.path : "x");
    EXPECT_EQ(std::string(title, c.stored && c.maxTitle ? std::strlen(title) : 1),
              c.stored && c.maxTitle ? c.path + c.offset : "x");
  }
  EXPECT_EQ(NameFilters("Sound\0*.wav; *.aiff\0Broken\0"), QStringList{QStringLiteral("Sound (*.wav *.aiff)")});
  EXPECT_TRUE(NameFilters(nullptr).isEmpty());
}

// Runs `act` on the modal dialog that opens next.
template <typename Dialog, typename Act>
void WhenOpen(Act act) {
  QTimer::singleShot(0, qApp, [act] {
    if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) act(dialog);
  });
}

// Qt's own dialogs follow the user's language; the numbers the program formats do not.
TEST(QtLocaleTest, NumbersKeepTheDecimalPointWhenQtTakesOnTheUsersLocale) {
  if (!PlatformPluginInstalled("offscreen") || QCoreApplication::instance() ||
      !std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
    GTEST_SKIP() << "needs the de_DE.UTF-8 locale, Qt's offscreen platform and a process where Qt is not running";
  }
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  StartApplication("offscreen");
  unsetenv("LC_ALL");
  char text[32];
  std::snprintf(text, sizeof text, "%.1fkhz %.2fsec", 44.1, 2.4);
  EXPECT_STREQ(text, "44.1khz 2.40sec");
}

using QtDialogsTest = QtDisplayTest;

// A box shows its text as written and answers with the button chosen; the open dialog offers the
// filter and fills the buffer with the chosen path.
TEST_F(QtDialogsTest, DialogsAnswerWithTheUsersChoice) {
  QString text, caption;
  Qt::TextFormat format = Qt::AutoText;
  WhenOpen<QMessageBox>([&](QMessageBox* box) {
    text = box->text();
    caption = box->windowTitle();
    format = box->textFormat();
    box->button(QMessageBox::Cancel)->click();
  });
  EXPECT_EQ(MessageBoxA(nullptr, "<b>file名を</b>\nget出来ません", "error", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(text, QString::fromUtf8("<b>file名を</b>\nget出来ません"));
  EXPECT_EQ(caption, QStringLiteral("error"));
  EXPECT_EQ(format, Qt::PlainText);
  QTemporaryDir directory;
  ASSERT_TRUE(directory.isValid());
  const std::string path = directory.filePath(QStringLiteral("tone.wav")).toStdString();
  std::ofstream(path) << "RIFF";
  QStringList filters;
  WhenOpen<QFileDialog>([&](QFileDialog* dialog) {
    filters = dialog->nameFilters();
    dialog->selectFile(QString::fromStdString(path));
    static_cast<QDialog*>(dialog)->accept();  // as the Open button does
  });
  char file[500] = "";
  OPENFILENAMEA ofn{};
  ofn.lpstrFilter = "wavfile(*.wav)\0*.wav\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(filters, QStringList{QStringLiteral("wavfile(*.wav)")});
  EXPECT_EQ(std::string(file), path);
  WhenOpen<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
}

using QtPopupMenuTest = QtDisplayTest;

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

// Chooses the item with `label` in the popup that opens next, as a user with the keyboard would;
// `opened` tells where the popup stood and what it showed.
void ChooseWhenOpen(const QString& label, QString* opened) {
  QTimer::singleShot(0, qApp, [label, opened] {
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!popup) return;
    *opened = QStringLiteral("%1,%2: ").arg(popup->pos().x()).arg(popup->pos().y()) + Described(popup);
    for (QAction* action : popup->actions()) {
      if (action->text() == label) popup->setActiveAction(action);
    }
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(popup, &key);
  });
}

TEST_F(QtPopupMenuTest, PopupAndSystemMenusShowAtTheirPointsAndPostTheChoice) {
  HMENU debug = CreateMenu();
  AppendMenuA(debug, MF_STRING, 73, "vslineにする");
  AppendMenuA(debug, MF_STRING, 74, "notice");
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 1, "再生(&P)");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, 2, "stop\tS");
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(debug), "menu for debug");
  CheckMenuItem(menu, 2, MF_CHECKED);
  EnableMenuItem(menu, 1, MF_GRAYED);
  CheckMenuItem(menu, 73, MF_CHECKED);  // found inside the submenu
  EnableMenuItem(menu, 73, MF_GRAYED);
  HWND hwnd = Create("owner", 100, 100, 316, 239);
  Pump();
  QString opened;
  ChooseWhenOpen(QStringLiteral("stop\tS"), &opened);
  EXPECT_TRUE(TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, 200, 150, 0, hwnd, nullptr));
  EXPECT_EQ(opened, QString::fromUtf8("200,150: 再生(&P) grey, -, stop\tS checked, menu for debug "
                                      "[vslineにする grey checked, notice]"));
  Pump();
  EXPECT_EQ(MessagesOf(hwnd, {WM_INITMENUPOPUP, WM_UNINITMENUPOPUP, WM_COMMAND}),
            (std::vector<UINT>{WM_INITMENUPOPUP, WM_UNINITMENUPOPUP, WM_COMMAND}));
  ASSERT_NE(Last(hwnd, WM_COMMAND), nullptr);
  EXPECT_EQ(Last(hwnd, WM_COMMAND)->wParam, 2u);
  EXPECT_TRUE(DestroyMenu(menu));  // whole, as the views destroy theirs
  EXPECT_EQ(GetMenuItemCount(debug), -1);
  // A middle click's default handling opens the system menu at the click's screen point.
  AppendMenuA(GetSystemMenu(hwnd, FALSE), MF_STRING, 85, "5秒早送り");
  ChooseWhenOpen(QString::fromUtf8("5秒早送り"), &opened);
  DefWindowProcA(hwnd, WM_MBUTTONUP, 0, MAKELPARAM(10, 20));
  EXPECT_EQ(opened, QString::fromUtf8("118,151: Close, 5秒早送り"));
  Pump();
  ASSERT_NE(Last(hwnd, WM_SYSCOMMAND), nullptr);
  EXPECT_EQ(Last(hwnd, WM_SYSCOMMAND)->wParam, 85u);
}

constexpr UINT kOpenBox = WM_USER + 1;
WPARAM charInMenu = 0;
bool postedInMenu = false, timerInBox = false;
int boxAnswer = 0;

// A key typed into the menu posts a box from inside its loop; a timer in the box quits both.
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
  // Should nothing flow, menu and box are closed after a while so that the test fails.
  QTimer guard;
  QObject::connect(&guard, &QTimer::timeout, [] {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  guard.start(10000);
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 1, "stop");
  EXPECT_TRUE(TrackPopupMenu(menu, 0, 200, 150, 0, owner, nullptr));
  DestroyMenu(menu);
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
