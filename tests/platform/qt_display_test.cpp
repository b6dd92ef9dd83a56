// The Qt display: windows, input, repaints and waits, dialogs and menus, on Qt's offscreen platform.
#include <time.h>

#include <QAction>
#include <QApplication>
#include <QApplicationStateChangeEvent>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFocusEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/display/memory_display.h"
#include "platform/display/qt/application.h"
#include "platform/display/qt/desktop_probe.h"
#include "platform/display/qt/dialogs.h"
#include "platform/display/qt/qt_display.h"
#include "platform/user/window_info.h"
#include "resources/icons.h"
#include "tests/platform/recording_window.h"

namespace morvex::display::qt::testing {
namespace {

using namespace morvex::testing;
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

// A Qt display on Qt's offscreen platform for each test, recorded windows on it.
class QtDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PlatformPluginInstalled("offscreen")) GTEST_SKIP() << "Qt's offscreen platform is not installed";
    display = new QtDisplay(Desktop{"offscreen", {}});
    InstallBackend(display);
    display->processEvents(Clock::now());  // the first call on this thread starts Qt
    received.clear();
  }
  void TearDown() override {
    if (!display) return;
    for (HWND hwnd : windows) {
      if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {}
    InstallBackend(new MemoryDisplay);
  }
  HWND Create(const char* title, int x, int y, int width, int height) {
    HWND hwnd = CreateRecorded(title, x, y, width, height);
    windows.push_back(hwnd);
    ShowWindow(hwnd, SW_SHOW);
    return hwnd;
  }
  QtDisplay* display = nullptr;
  std::vector<HWND> windows;
};

// The program's calls and the desktop's moves, minimize, restore and activation reach the other side.
TEST_F(QtDisplayTest, TopLevelWindowFollowsTheProgramAndTheDesktop) {
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
  MoveWindow(hwnd, 40, 50, 0, 0, TRUE);
  // The minimum tracking size less the frame: no client rows, which Qt makes one.
  EXPECT_TRUE(widget->geometry().topLeft() == QPoint(48, 81) && widget->width() == 120 && widget->height() <= 1) << widget->height();
  EXPECT_EQ(widget->minimumSize(), QSize(120, 0)) << "a drag of the frame stops there too";
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
  received.clear();
  for (auto state : {Qt::ApplicationInactive, Qt::ApplicationHidden, Qt::ApplicationActive}) {
    QApplicationStateChangeEvent change(state);
    QCoreApplication::sendEvent(qApp, &change);
  }
  Pump();
  for (HWND window : {hwnd, other}) {
    EXPECT_EQ(MessagesOf(window, {WM_ACTIVATEAPP}), (std::vector<UINT>{WM_ACTIVATEAPP, WM_ACTIVATEAPP}));
    EXPECT_EQ(Last(window, WM_ACTIVATEAPP)->wParam, static_cast<WPARAM>(TRUE));
  }
  DestroyWindow(hwnd);
  EXPECT_EQ(display->widgetOf(hwnd), nullptr);
  EXPECT_EQ(display->widgetOf(edit), nullptr);
}

// Input arrives in the order it happened, characters translated; a grey close item stops the close.
TEST_F(QtDisplayTest, InputArrivesAsItsMessagesInTheOrderItHappened) {
  HWND hwnd = Create("input", 100, 100, 316, 239);
  QWidget* widget = display->widgetOf(hwnd);
  Pump();
  received.clear();
  auto send = [widget](QEvent&& event) { return QCoreApplication::sendEvent(widget, &event); };
  auto key = [&](Qt::Key key, const char* text) {
    send(QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString::fromUtf8(text)));
  };
  auto mouse = [&](QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    send(QMouseEvent(type, at, widget->mapToGlobal(at), button, buttons, Qt::NoModifier));
  };
  EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  QCloseEvent ignored;
  QCoreApplication::sendEvent(widget, &ignored);
  EXPECT_FALSE(ignored.isAccepted());
  Pump();
  EXPECT_EQ(Last(hwnd, WM_SYSCOMMAND), nullptr);
  EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
  key(Qt::Key_A, "a");
  key(Qt::Key_Minus, "-");
  key(Qt::Key_Menu, "");  // the system menu's key; the recording window leaves it unhandled
  key(Qt::Key_unknown, "😀");  // a surrogate pair in Qt's text
  Pump();
  mouse(QEvent::MouseMove, {10, 20}, Qt::NoButton, Qt::NoButton);
  mouse(QEvent::MouseButtonPress, {30, 40}, Qt::RightButton, Qt::RightButton);
  mouse(QEvent::MouseButtonRelease, {31, 41}, Qt::RightButton, Qt::NoButton);
  mouse(QEvent::MouseButtonRelease, {5, 6}, Qt::MiddleButton, Qt::NoButton);
  mouse(QEvent::MouseButtonPress, {7, 8}, Qt::LeftButton, Qt::LeftButton);
  mouse(QEvent::MouseMove, {400, 8}, Qt::NoButton, Qt::LeftButton);  // a drag beyond the client area
  mouse(QEvent::MouseButtonRelease, {-3, 8}, Qt::LeftButton, Qt::NoButton);
  send(QFocusEvent(QEvent::FocusOut, Qt::PopupFocusReason));  // opening a popup menu is no focus loss
  send(QFocusEvent(QEvent::FocusOut, Qt::ActiveWindowFocusReason));
  QCloseEvent close;
  QCoreApplication::sendEvent(widget, &close);
  EXPECT_FALSE(close.isAccepted());  // the window layer decides
  Pump();
  std::vector<std::tuple<UINT, WPARAM, LPARAM>> seen;
  for (const Received& r : received) {
    const bool mouse = r.msg >= WM_MOUSEMOVE && r.msg <= WM_MBUTTONUP;
    if (r.hwnd == hwnd && (mouse || r.msg == WM_KEYDOWN || r.msg == WM_CHAR || r.msg == WM_SYSCOMMAND ||
                           r.msg == WM_KILLFOCUS || r.msg == WM_CLOSE || r.msg == WM_DESTROY)) {
      seen.emplace_back(r.msg, r.msg == WM_KILLFOCUS ? 0 : r.wParam, mouse || r.msg == WM_CHAR ? r.lParam : 0);
    }
  }
  const std::vector<std::tuple<UINT, WPARAM, LPARAM>> expected = {
      {WM_KEYDOWN, 'A', 0},          {WM_KEYDOWN, 0xBD, 0},
      {WM_KEYDOWN, 0x5D, 0},         {WM_KEYDOWN, 0, 0},
      {WM_CHAR, 'a', 1},             {WM_CHAR, '-', 1},  // the 32-bit key data: one press
      {WM_CHAR, 0x1F600, 1},         {WM_MOUSEMOVE, 0, MAKELPARAM(10, 20)},
      {WM_RBUTTONDOWN, 0x0002, MAKELPARAM(30, 40)}, {WM_RBUTTONUP, 0, MAKELPARAM(31, 41)},
      {WM_MBUTTONUP, 0, MAKELPARAM(5, 6)},          {WM_LBUTTONDOWN, 0x0001, MAKELPARAM(7, 8)},
      {WM_KILLFOCUS, 0, 0},          {WM_SYSCOMMAND, SC_CLOSE, 0},
      {WM_CLOSE, 0, 0},              {WM_DESTROY, 0, 0},
  };
  EXPECT_EQ(seen, expected);
  EXPECT_FALSE(IsWindow(hwnd));
}

// What the desktop shows of a widget: its flushed backing store, not a fresh rendering.
uint32_t ShownPixel(QWidget* widget, int x, int y) {
  return widget->screen()->grabWindow(widget->winId()).toImage().pixel(x, y) & 0xFFFFFFu;
}

// Other threads' drawing reaches the screen while the repaint tick runs and after a quiet spell.
TEST_F(QtDisplayTest, DrawingFromOtherThreadsReachesTheScreenBeforeAndAfterQuietSpells) {
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
TEST_F(QtDisplayTest, WakesAreNeverLostAndWaitsDoNotSpin) {
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
}

// Path and title are stored, each with its zero, only when both fit.
TEST(QtChosenFileTest, PathAndTitleAreStoredOnlyWhenTheyFit) {
  const struct { DWORD maxFile, maxTitle; bool stored; } cases[] = {{16, 9, true}, {15, 9, false}, {32, 8, false}};
  for (const auto& c : cases) {
    char file[32], title[16];
    std::memset(file, 'x', sizeof file);
    std::memset(title, 'x', sizeof title);
    OPENFILENAMEA ofn{};
    ofn.lpstrFile = file;
    ofn.nMaxFile = c.maxFile;
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = c.maxTitle;
    ASSERT_EQ(StoreChosenFile(ofn, "/music/song.wav"), c.stored) << c.maxFile << " " << c.maxTitle;
    EXPECT_EQ(std::string(file, c.stored ? 16 : 1), c.stored ? std::string("/music/song.wav", 16) : "x");
    EXPECT_EQ(std::string(title, c.stored ? 9 : 1), c.stored ? std::string("song.wav", 9) : "x");
  }
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

// A box shows its text as written; the open dialog offers the filter and returns the chosen path.
TEST_F(QtDisplayTest, DialogsAnswerWithTheUsersChoice) {
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

// Chooses `label` by keyboard in the next popup; `opened` tells where it stood and what it showed.
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

TEST_F(QtDisplayTest, PopupAndSystemMenusShowAtTheirPointsAndPostTheChoice) {
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

TEST_F(QtDisplayTest, KeysMessagesAndTimersFlowInsideTheMenuAndABoxItOpensUntilAQuitEndsBoth) {
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
