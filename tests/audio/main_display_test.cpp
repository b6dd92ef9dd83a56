#include "audio/main_display.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "analysis/spectrum_frame.h"
#include "analysis/window_function.h"
#include "main_display_fixture.h"

namespace {

using display_test::InkIn;
using display_test::kBlack;
using display_test::TextImage;

// 5 s of mono 16-bit sound; the device has played half a second.
constexpr int32_t kDataSize = 441000;
constexpr DWORD kHalfSecond = 44100;

class StatusLines : public display_test::StatusDisplayTest {
 protected:
  void SetUp() override {
    StatusDisplayTest::SetUp();
    statusEnabled = 1;
    settings.levelmetertype = kLevelSubWide;
    SampleStore.dataSize = kDataSize;
    std::strcpy(SampleStore.WavFileName, "song.wav");
    SampleStore.lastWritten = kPlayBufferA;
    SampleStore.writtenEnd = 256000;
    playflag = 1;
    buff = 1;
    // 128000 - (44100 + 88) ahead: the level window starts at byte 44188, frame 22094.
    for (int i = 0; i < 200; ++i) {
      display_test::PutSample(SampleStore.bufferA, 22094 + i, i % 2 == 0 ? 32767 : -32768, 2, 16);
    }
  }
  // Whether `text` in the text font appears at (x, y) of the window.
  ::testing::AssertionResult Shows(const std::string& text, int x, int y, int maxWidth = 1 << 20) {
    return TextImage(text, TextFont).At(window, x, y, maxWidth);
  }
  int RowInk(int y, int right = 700) { return InkIn(window, 0, y, right, y + TextLineHeight); }
  bool PaintPending() {
    MSG msg;
    return PeekMessageA(&msg, hwnd, WM_PAINT, WM_PAINT, PM_NOREMOVE) != 0;
  }
  // A black mark where the "current" line goes: only a copy of the off-screen surface removes it.
  void MarkWindow() { SetPixel(window, 2, 25, kBlack); }
  bool MarkKept() { return GetPixel(window, 2, 25) == kBlack; }
};

TEST_F(StatusLines, PlayingShowsPositionEndSizeLevelAndNameAndTheFullDisplayAddsTheTechnicalLines) {
  Paint(kHalfSecond);
  EXPECT_TRUE(Shows("end:5.00sec    ", 260, 20));
  EXPECT_TRUE(Shows("current:44100byte      ", 0, 20));
  EXPECT_TRUE(Shows("0.50sec ", 180, 20));
  EXPECT_TRUE(Shows("datasize=441000byte   ", 0, 40));
  EXPECT_TRUE(Shows("vol(dB):-0.00dB" + std::string(105, ' '), 0, 60, 120));
  EXPECT_TRUE(Shows("filename:song.wav    ", 0, 80));
  EXPECT_EQ(GetPixel(window, 503, 68), kBlack);  // the bar, drawn by the paint
  for (int y : {0, 100, 120, 160, 180, 220}) EXPECT_EQ(RowInk(y), 0) << y;
  EXPECT_FALSE(PaintPending());

  speedDoubleDecimate = 1;  // double speed halves the end time
  settings.mainwindowparafull = 1;
  settings.fftradix4flag = 1;
  SampleStore.writtenEnd = 123456;
  Paint(kHalfSecond);
  EXPECT_TRUE(Shows("end:2.50sec    ", 260, 20));
  EXPECT_TRUE(Shows("buffer 終端:123456byte    ", 0, 0));
  EXPECT_TRUE(Shows("bit:16(65536) dataspeed:88200byte 44100hz 1ch   ", 0, 120));
  EXPECT_GT(RowInk(100), 0);  // the paint intervals
  char line[200];
  std::snprintf(line, sizeof line, "2048fft(radix4) 休止時間5 %s 表示倍率20                 ", WindowLabel.load());
  EXPECT_TRUE(Shows(line, 0, 160));
  EXPECT_TRUE(Shows("spectgraph表示倍率50 sgmanydraw1 sgreturn1           ", 0, 220));
  std::snprintf(line, sizeof line, "0補間で1倍(1=してない)  0補間した結果このsample分のwav使ってる->%d        ",
                SamplesPerFrame.load());
  EXPECT_TRUE(Shows(line, 0, 180));
}

TEST_F(StatusLines, BeforeTheDeviceOpensOnlyTheNameAndWithoutStatusTextTheLevelToo) {
  statusEnabled = 0;
  Paint(kHalfSecond);
  EXPECT_TRUE(Shows("filename:song.wav    ", 0, 80));
  EXPECT_EQ(InkIn(window, 0, 0, 700, 75), 0);

  statusEnabled = 1;
  statusText = 0;
  settings.mainwindowparafull = 1;
  Paint(kHalfSecond);
  for (int y : {0, 20, 120}) EXPECT_EQ(RowInk(y), 0) << y;
  EXPECT_EQ(RowInk(40, 500), 0);  // no datasize; the 0dB label stays
  EXPECT_TRUE(Shows("vol(dB):-0.00dB" + std::string(105, ' '), 0, 60, 120));
  EXPECT_TRUE(Shows("filename:song.wav    ", 0, 80));
}

// Trailing blanks erase the longer text before them.
TEST_F(StatusLines, AfterAStopCurrentIsTheDataSizeUnlessPaused) {
  playflag = 0;
  Paint(0);
  EXPECT_TRUE(Shows("current:441000byte      ", 0, 20));
  EXPECT_TRUE(Shows("5.00sec ", 180, 20));
  playPaused = 1;
  SampleStore.seekBase = 100000;
  Paint(0);
  EXPECT_TRUE(Shows("current:100000byte      ", 0, 20));
  EXPECT_TRUE(Shows("1.13sec ", 180, 20));
  playPaused = 0;
  SampleStore.seekBase = 0;
  playflag = 1;
  Paint(4);
  EXPECT_TRUE(Shows("current:4byte      ", 0, 20));
  EXPECT_EQ(InkIn(window, TextImage("current:4byte      ", TextFont).width(), 20, 180, 20 + TextLineHeight), 0);
}

// The draining last buffer is not redrawn; without a play buffer nothing is, and while playing
// that is an error. Each request is validated, so that it does not come back at once.
TEST_F(StatusLines, WhatIsNotRedrawn) {
  eflag = 1;
  MarkWindow();
  Paint(kDataSize);  // the device has played the whole data
  EXPECT_TRUE(MarkKept());
  EXPECT_FALSE(PaintPending());
  Paint(kDataSize - 4);
  EXPECT_FALSE(MarkKept());
  eflag = 0;
  SampleStore.lastWritten = kNoPlayBuffer;
  for (const int32_t playing : {0, 1}) {
    playflag = playing;
    MarkWindow();
    Paint(kHalfSecond);
    EXPECT_TRUE(MarkKept()) << playing;
    EXPECT_FALSE(PaintPending()) << playing;
    EXPECT_STREQ(lastErrorText.load(), playing ? "s==0error" : "") << playing;
  }
}

// A resize returns playback to the file's rate, greys the vectorscope for one channel, and later
// paints copy the client area only.
TEST_F(StatusLines, Resize) {
  AppendMenuA(GetSystemMenu(hwnd, FALSE), MF_STRING, 65, "vectorscope");
  auto vectorscopeGreyed = [&] { return (GetMenuState(GetSystemMenu(hwnd, FALSE), 65, MF_BYCOMMAND) & MF_GRAYED) != 0; };
  settings.playfreqoptional = 8000;
  display_test::UseSource(2, 16);
  OnSize(100, 50);
  EXPECT_EQ(settings.playfreqoptional, 44100);
  EXPECT_FALSE(vectorscopeGreyed());
  display_test::UseSource(1, 16);
  OnSize(100, 50);
  EXPECT_TRUE(vectorscopeGreyed());
  SetPixel(window, 150, 25, kBlack);  // right of the client width
  SetPixel(window, 5, 85, kBlack);    // below the client height
  Paint(0);
  EXPECT_GT(InkIn(window, 0, 20, 100, 32), 0);  // "current" arrived
  EXPECT_EQ(GetPixel(window, 150, 25), kBlack);
  EXPECT_EQ(GetPixel(window, 5, 85), kBlack);
}

}  // namespace
