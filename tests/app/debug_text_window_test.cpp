// The "debug" text window: its buffer with CR LF line ends and its limit, the edit control that
// shows it, and closing it ending the message loop.
#include <gtest/gtest.h>

#include <string>

#include "app/debug_text_window.h"
#include "main_window_rig.h"

namespace {

std::string EditText() {
  static char text[kDebugTextBytes + 16];
  const int length = GetWindowTextA(DebugEditControl, text, sizeof text);
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

class DebugTextWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    main_window_rig::Display();
    DebugTextClear();
  }
  void TearDown() override {
    if (DebugWindow) DestroyWindow(DebugWindow);
    audio_test::Pump();
  }
};

TEST_F(DebugTextWindowTest, AppendsFollowEachOtherWithCrLfAndStopAtTheLimitNeverInsideALineEnd) {
  const HWND control = DebugTextAppend("a\nb");
  ASSERT_NE(DebugWindow, nullptr) << "the first text creates the window";
  DebugTextAppend("c\n");
  EXPECT_EQ(EditText(), "a\r\nbc\r\n");
  EXPECT_EQ(DebugTextLength, 8);
  DebugTextClear();
  EXPECT_EQ(DebugTextAppend(std::string(kDebugTextBytes - 2, 'f').c_str()), control) << "the window is made once";
  DebugTextAppend("\n\n");  // one byte left before the zero: no room for CR LF
  EXPECT_EQ(DebugTextLength, kDebugTextBytes - 1);
  DebugTextAppend("yz");
  EXPECT_EQ(DebugTextLength, kDebugTextBytes);
  EXPECT_EQ(DebugTextBuffer[kDebugTextBytes - 2], 'y');
  EXPECT_EQ(DebugTextBuffer[kDebugTextBytes - 1], '\0');
  EXPECT_EQ(EditText(), std::string(kDebugTextBytes - 2, 'f') + "y");
}

TEST_F(DebugTextWindowTest, ClosingItEndsTheMessageLoopAndTheNextTextMakesANewWindow) {
  DebugTextAppend("spectrum");
  PostMessageA(DebugWindow, WM_CHAR, 'x', 1);  // keys typed there do nothing
  audio_test::Pump();
  SendMessageA(DebugWindow, WM_CLOSE, 0, 0);
  EXPECT_EQ(DebugEditControl, nullptr);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 0u);
  DebugTextAppend("again");
  EXPECT_EQ(EditText(), "spectrumagain");
}

}  // namespace
