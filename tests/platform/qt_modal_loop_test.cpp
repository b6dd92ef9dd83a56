#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <future>
#include <thread>

#include "qt_display_fixture.h"

namespace morvex::display::qt::testing {
namespace {

constexpr UINT kFromThread = WM_USER + 1;
constexpr UINT kOpenBox = WM_USER + 2;

struct Delivered {
  UINT msg;
  bool menuOpen;
  bool boxOpen;
  DWORD thread;
};

std::vector<Delivered> delivered;
int boxAnswer = 0;

// Records where each message arrived. Its message box opens from inside the menu's loop; the
// timer that fires inside the box destroys the window that owns the menu and posts the quit.
LRESULT CALLBACK ModalProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kFromThread || msg == kOpenBox || msg == WM_TIMER || msg == WM_PAINT) {
    delivered.push_back({msg, QApplication::activePopupWidget() != nullptr,
                         QApplication::activeModalWidget() != nullptr, GetCurrentThreadId()});
  }
  if (msg == kOpenBox) boxAnswer = MessageBoxA(hwnd, "inner", "", MB_OKCANCEL);
  if (msg == WM_TIMER && wParam == 8 && QApplication::activeModalWidget()) {
    DestroyWindow(hwnd);
    PostQuitMessage(5);
  }
  if (msg == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(hwnd, &paint);
    EndPaint(hwnd, &paint);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool Seen(UINT msg, bool menuOpen) {
  return std::any_of(delivered.begin(), delivered.end(),
                     [&](const Delivered& d) { return d.msg == msg && d.menuOpen == menuOpen; });
}

// Dismisses the open menu once `done` holds, or after a generous while when it never does, so
// that a fault fails the test instead of hanging it.
class MenuCloser {
 public:
  explicit MenuCloser(std::function<bool()> done) {
    QObject::connect(&watcher_, &QTimer::timeout, [this, done = std::move(done)] {
      if (!done() && ++looks_ < 1000) return;
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      if (QWidget* popup = QApplication::activePopupWidget()) QCoreApplication::sendEvent(popup, &escape);
    });
    watcher_.start(5);
  }

 private:
  QTimer watcher_;
  int looks_ = 0;
};

class QtModalLoopTest : public QtDisplayTest {
 protected:
  void SetUp() override {
    QtDisplayTest::SetUp();
    if (!display) return;
    static const bool registered = [] {
      WNDCLASSA cls{};
      cls.lpfnWndProc = ModalProc;
      cls.lpszClassName = "qtmodal";
      return RegisterClassA(&cls) != 0;
    }();
    ASSERT_TRUE(registered);
    delivered.clear();
    owner = CreateWindowExA(0, "qtmodal", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 316, 239, nullptr,
                            nullptr, nullptr, nullptr);
    windows.push_back(owner);
    Pump();
    delivered.clear();
    menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "stop");
  }
  void TearDown() override {
    if (menu) DestroyMenu(menu);
    QtDisplayTest::TearDown();
  }
  HWND owner = nullptr;
  HMENU menu = nullptr;
};

TEST_F(QtModalLoopTest, PostedMessagesTimersAndRepaintsReachTheWindowWhileItsMenuIsOpen) {
  std::promise<void> menuShown;
  std::thread poster([&, shown = menuShown.get_future()] {
    shown.wait();
    PostMessageA(owner, kFromThread, 0, 0);
    InvalidateRect(owner, nullptr, FALSE);
  });
  SetTimer(owner, 7, 10, nullptr);
  QTimer::singleShot(0, qApp, [&] { menuShown.set_value(); });
  MenuCloser closer([] { return Seen(kFromThread, true) && Seen(WM_TIMER, true) && Seen(WM_PAINT, true); });
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 200, 150, 0, owner, nullptr), 0);
  poster.join();
  EXPECT_TRUE(Seen(kFromThread, true));
  EXPECT_TRUE(Seen(WM_TIMER, true));
  EXPECT_TRUE(Seen(WM_PAINT, true));
  for (const Delivered& d : delivered) EXPECT_EQ(d.thread, GetCurrentThreadId()) << d.msg;
}

TEST_F(QtModalLoopTest, AQuitPostedInsideABoxOpenedFromTheMenuEndsBothAndReachesTheMessageLoop) {
  PostMessageA(owner, kOpenBox, 0, 0);
  SetTimer(owner, 8, 10, nullptr);
  MenuCloser closer([] { return false; });
  EXPECT_TRUE(TrackPopupMenu(menu, 0, 200, 150, 0, owner, nullptr));
  const auto inBox = std::find_if(delivered.begin(), delivered.end(),
                                  [](const Delivered& d) { return d.msg == WM_TIMER && d.boxOpen; });
  EXPECT_TRUE(Seen(kOpenBox, true));
  EXPECT_NE(inBox, delivered.end()) << "the timer fired inside the box";
  EXPECT_EQ(boxAnswer, IDCANCEL);
  EXPECT_FALSE(IsWindow(owner));
  MSG msg;
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.wParam, 5u);
}

}  // namespace
}  // namespace morvex::display::qt::testing
