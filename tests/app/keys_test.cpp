// The main window's character keys and timers on the real window: shortcuts off and on, a menu
// held open, the quiet start, the hidden window, and a jump while stopped.
#include <gtest/gtest.h>

#include "analysis/fft_window.h"
#include "audio/main_display.h"
#include "main_window_rig.h"

namespace {

using main_window_rig::MainWindowRig;
using main_window_rig::Slice;

constexpr int32_t kBytesPerSecond = 8000;

class KeysTest : public MainWindowRig {};

TEST_F(KeysTest, TypedKeysActOnlyAfterTheMinusKeyAndOnlyXWhileAMenuIsOpen) {
  Start();
  Type('s');
  EXPECT_EQ(playflag, 1) << "shortcuts are off by default";
  Posted('s');
  EXPECT_EQ(playflag, 0) << "the popup's stop carries the marker";
  Type('p');
  EXPECT_EQ(playflag, 0);
  Type('-');
  EXPECT_EQ(KeyboardShortcutsEnabled, 1);
  Type('P');
  EXPECT_EQ(playflag, 0) << "upper case does nothing";
  Type('p');
  EXPECT_EQ(playflag, 1);

  SendMessageA(hwnd_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(SystemMenu), MAKELPARAM(0, 1));
  SendMessageA(hwnd_, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(SystemMenu), 0);
  Type('q');
  EXPECT_EQ(statusText, 0) << "a closed menu lets keys through";
  SendMessageA(hwnd_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(MainPopup), 0);
  Type('s');
  Posted('q');
  EXPECT_EQ(playflag, 1);
  EXPECT_EQ(statusText, 0);
  Type('x');
  EXPECT_FALSE(IsWindow(hwnd_)) << "the close command ends the program";
}

TEST_F(KeysTest, QuietStartHiddenWindowPriorityAndRepaintTimer) {
  Settings.processprioritylowonstartup = 1;
  Start();
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
  SendMessageA(hwnd_, WM_TIMER, 4, 0);
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
  EXPECT_FALSE(KillTimer(hwnd_, 4)) << "timer 4 is one-shot";
  PopupCommand(116);  // "このwindow更新ゆっくりに" posts z
  EXPECT_EQ(Settings.mainwindowinvailintervalvariable, 1000);
  EXPECT_TRUE(main_window_rig::Checked(116, MainPopup));
  PopupCommand(116);  // and then 1
  EXPECT_EQ(Settings.mainwindowinvailintervalvariable, 10);
  Posted('k');
  EXPECT_FALSE(IsWindowVisible(hwnd_));
  EXPECT_EQ(FftPositionDisplay, 1) << "the FFT graph shows the position while the main window is hidden";
  Post(WM_CHAR, 'k', ShortcutMarker, FftWindowHandle());  // typed into the FFT window
  EXPECT_TRUE(IsWindowVisible(hwnd_));
  Posted('r');
  EXPECT_EQ(FftStatsOff, 0) << "statistics go off only while the updates are stopped";
  Posted('e');
  EXPECT_EQ(HighPriorityMode, GetPriorityClass(GetCurrentProcess()) == HIGH_PRIORITY_CLASS ? 1 : 0)
      << "the mode flips only when the class could be set";

  Posted('y');
  EXPECT_FALSE(KillTimer(hwnd_, 1)) << "y stops the repaint timer";
  Posted('1');
  ValidateRect(hwnd_, nullptr);
  SendMessageA(hwnd_, WM_TIMER, 1, 0);
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, hwnd_, WM_PAINT, WM_PAINT, PM_NOREMOVE)) << "1 starts it; a tick while playing repaints";
  Posted('s');
  ValidateRect(hwnd_, nullptr);
  SendMessageA(hwnd_, WM_TIMER, 1, 0);
  EXPECT_FALSE(PeekMessageA(&msg, hwnd_, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  EXPECT_FALSE(KillTimer(hwnd_, 1)) << "the first tick after the stop ends the timer";
  Posted('h');
  EXPECT_FALSE(KillTimer(hwnd_, 2)) << "a jump while stopped resumes nothing";
}

TEST_F(KeysTest, PlayPostedBehindTheReturningBuffersStillPlays) {
  Start();
  Run(1000);
  SendMessageA(hwnd_, WM_CHAR, 't', ShortcutMarker);
  // Play lands between the old device's returned buffers and its close message.
  Posted('p');
  ASSERT_EQ(clock_.OutputStreamCount(), 2u);
  Run(1000);
  EXPECT_EQ(clock_.Heard(1), Slice(samples_, kBytesPerSecond, kBytesPerSecond))
      << "the old device's close must leave the new device's buffers prepared";
}

}  // namespace
