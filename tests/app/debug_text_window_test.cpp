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
  void SetUp() override { main_window_rig::Display(); }
  void TearDown() override {
    if (DebugWindow) DestroyWindow(DebugWindow);
    audio_test::Pump();
  }
};

TEST_F(DebugTextWindowTest, ALineFeedBecomesCarriageReturnLineFeedAndAppendsFollowEachOther) {
  DebugTextClear();
  EXPECT_EQ(DebugTextLength, 1);
  EXPECT_EQ(DebugTextAppend("a\nb"), DebugEditControl);
  ASSERT_NE(DebugWindow, nullptr) << "the first text creates the window";
  EXPECT_EQ(DebugTextLength, 5);
  EXPECT_EQ(EditText(), "a\r\nb");
  DebugTextAppend("c\n");
  EXPECT_EQ(EditText(), "a\r\nbc\r\n") << "no zero between the two texts";
  EXPECT_EQ(DebugTextLength, 8);

  char title[16] = {};
  GetWindowTextA(DebugWindow, title, sizeof title);
  EXPECT_STREQ(title, "debug");
  RECT client{};
  GetClientRect(DebugWindow, &client);
  RECT edit{};
  GetWindowRect(DebugEditControl, &edit);
  EXPECT_EQ(edit.right - edit.left, client.right) << "the edit control fills the client area";
  EXPECT_EQ(edit.bottom - edit.top, client.bottom);

  const HWND control = DebugEditControl;
  DebugTextClear();
  EXPECT_EQ(DebugTextLength, 1);
  EXPECT_EQ(EditText(), "a\r\nbc\r\n") << "clearing does not touch the window";
  EXPECT_EQ(DebugTextAppend("x"), control) << "the window is made once";
  EXPECT_EQ(EditText(), "x");
}

TEST_F(DebugTextWindowTest, TextBeyondTheBufferIsCutNeverInsideALineEnd) {
  DebugTextClear();
  const std::string filler(kDebugTextBytes - 2, 'f');
  DebugTextAppend(filler.c_str());
  EXPECT_EQ(DebugTextLength, kDebugTextBytes - 1);
  DebugTextAppend("\n\n");  // one byte left before the zero: no room for CR LF
  EXPECT_EQ(DebugTextLength, kDebugTextBytes - 1);
  DebugTextAppend("yz");
  EXPECT_EQ(DebugTextLength, kDebugTextBytes);
  EXPECT_EQ(DebugTextBuffer[kDebugTextBytes - 2], 'y');
  EXPECT_EQ(DebugTextBuffer[kDebugTextBytes - 1], '\0');
  const std::string shown = EditText();
  EXPECT_EQ(shown.size(), static_cast<size_t>(kDebugTextBytes - 1));
}

TEST_F(DebugTextWindowTest, ClosingItEndsTheMessageLoopAndTheNextTextMakesANewWindow) {
  DebugTextClear();
  DebugTextAppend("spectrum");
  ASSERT_NE(DebugWindow, nullptr);
  PostMessageA(DebugWindow, WM_CHAR, 'x', 1);  // keys typed there do nothing
  audio_test::Pump();
  EXPECT_EQ(DebugTextLength, 9);
  SendMessageA(DebugWindow, WM_CLOSE, 0, 0);
  EXPECT_EQ(DebugWindow, nullptr);
  EXPECT_EQ(DebugEditControl, nullptr);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 0u);
  DebugTextAppend("again");
  EXPECT_NE(DebugEditControl, nullptr);
  EXPECT_EQ(EditText(), "spectrumagain");
}

}  // namespace
