// The main window's character keys and timers on the real window: the quiet start, shortcuts off
// and on, the hidden window, a jump while stopped, a menu held open, play right behind a pause.
#include <gtest/gtest.h>

#include "analysis/fft_window.h"
#include "audio/main_display.h"
#include "main_window_rig.h"

namespace {

using KeysTest = main_window_rig::MainWindowRig;

TEST_F(KeysTest, TypedKeysActOnlyAfterTheMinusKeyAndOnlyXWhileAMenuIsOpen) {
  Settings.processprioritylowonstartup = 1;
  Start();
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
  SendMessageA(hwnd_, WM_TIMER, 4, 0);
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
  EXPECT_FALSE(KillTimer(hwnd_, 4)) << "timer 4 is one-shot";
  Type('s');
  EXPECT_EQ(playflag, 1) << "shortcuts are off by default";
  Posted('s');
  EXPECT_EQ(playflag, 0) << "the popup's stop carries the marker";
  Posted('h');
  EXPECT_FALSE(KillTimer(hwnd_, 2)) << "a jump while stopped resumes nothing";
  Type('p');
  Type('-');
  Type('P');
  EXPECT_EQ(playflag, 0) << "upper case does nothing";
  Type('p');
  EXPECT_EQ(playflag, 1);
  Type('k');
  EXPECT_FALSE(IsWindowVisible(hwnd_));
  EXPECT_EQ(FftPositionDisplay, 1) << "the FFT graph shows the position while the main window is hidden";
  Post(WM_CHAR, 'k', ShortcutMarker, FftWindowHandle());  // typed into the FFT window
  EXPECT_TRUE(IsWindowVisible(hwnd_));
  SendMessageA(hwnd_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(MainPopup), 0);
  Type('s');
  Posted('q');
  EXPECT_EQ(playflag, 1);
  EXPECT_EQ(statusText, 1);
  Type('x');
  EXPECT_FALSE(IsWindow(hwnd_)) << "the close command ends the program";
}

TEST_F(KeysTest, PlayPostedBehindTheReturningBuffersStillPlays) {
  Start();
  Run(1000);
  SendMessageA(hwnd_, WM_CHAR, 't', ShortcutMarker);
  // Play lands between the old device's returned buffers and its close message.
  Posted('p');
  ASSERT_EQ(clock_.OutputStreamCount(), 2u);
  Run(1000);
  EXPECT_EQ(clock_.Heard(1), main_window_rig::Slice(samples_, 8000, 8000))
      << "the old device's close must leave the new device's buffers prepared";
}

}  // namespace
