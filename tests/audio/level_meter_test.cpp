#include "audio/level_meter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>

#include "audio/level_meter_paint.h"
#include "audio/level_meter_thread.h"
#include "main_display_fixture.h"

namespace {

using display_test::kBlack;
using display_test::kWhite;
using display_test::PutSample;
using display_test::TextImage;

constexpr int kMono16 = 2;
constexpr int kWindow = 220;  // 1/400 s of 44100 Hz mono 16-bit

// Frames from `first` on alternate between +a and -(a + 1): full scale for a = 32767.
void Alternating(char* buffer, int first, int count, int a, int blockAlign = kMono16, int bits = 16) {
  for (int i = 0; i < count; ++i) PutSample(buffer, first + i, i % 2 == 0 ? a : -a - 1, blockAlign, bits);
}

// A 441 Hz sine at 44100 Hz: 100 frames a period, reaching exactly +32767 at frame 25.
void Sine(char* buffer, int first, int count) {
  for (int i = 0; i < count; ++i) {
    PutSample(buffer, first + i, static_cast<int>(std::lround(32767.0 * std::sin(2.0 * M_PI * i / 100.0))), kMono16, 16);
  }
}

class LevelMeasure : public ::testing::Test {
 protected:
  void SetUp() override { display_test::ResetTransport(); }
  void TearDown() override { display_test::ResetTransport(); }
  char* a = SampleStore.bufferA;
  char* b = SampleStore.bufferB;
};

TEST_F(LevelMeasure, ReadingsOfEachType) {
  Alternating(a, 0, 200, 32767);
  Alternating(b, 0, 200, 127, 1, 8);
  Sine(a, 1000, 200);
  PutSample(a, 2108, 3000, kMono16, 16);  // sub compares the window's last two frames
  PutSample(a, 2109, -500, kMono16, 16);
  const LevelWindow full16 = MeasureLevel(a, 0, kWindow, kMono16, 16, 0);
  const LevelWindow full8 = MeasureLevel(b, 0, 110, 1, 8, 0);
  const LevelWindow sine = MeasureLevel(a, 2000, 200, kMono16, 16, 0);  // one whole period
  const LevelWindow sub = MeasureLevel(a, 4000, kWindow, kMono16, 16, 0);
  EXPECT_EQ(full8.frames + full16.frames, 220);
  const struct {
    const LevelWindow& window;
    int32_t type, fullScale;
    double decibels, tolerance;
  } cases[] = {
      {full16, kLevelSubWide, 65536, 20.0 * std::log10(65535.0 / 65536.0), 1e-12},
      {full8, kLevelSubWide, 256, 20.0 * std::log10(255.0 / 256.0), 1e-12},
      {sine, kLevelPeak, 65536, 0.0, 1e-12},
      {sine, kLevelRmsSimple, 65536, 20.0 * std::log10(0.707), 1e-12},
      {sine, kLevelRmsAccuracy, 65536, -3.01, 0.05},  // the true RMS of a sine
      {sine, kLevelRmsLike, 65536, 20.0 * std::log10(sine.sumAbsolute / (65536.0 * sine.frames)) + 10.0, 1e-12},
      {sub, kLevelSub, 65536, 20.0 * std::log10(2500.0 / 65536.0), 1e-12},
  };
  for (const auto& c : cases) {
    const LevelReading r = PaintLevelReading(c.type, c.window, c.fullScale);
    EXPECT_FALSE(r.silent) << c.type;
    EXPECT_NEAR(r.decibels, c.decibels, c.tolerance) << c.type;
  }
  // The first frame's previous value comes from the last pass; the difference reads one frame on.
  PutSample(a, 0, -1234, kMono16, 16);
  PutSample(a, 1, 766, kMono16, 16);
  const LevelWindow first = MeasureLevel(a, 0, 2, kMono16, 16, 77);
  EXPECT_EQ(std::tuple(first.frames, first.previousAbsolute, first.currentAbsolute, first.sumDifferences),
            std::tuple(1, 77, 1234, int64_t{2000}));
}

// Silence reads as -96.33 "(-inf)", except type 0 in the thread; an empty window or one outside the
// buffer reads as silence without dividing by zero.
TEST_F(LevelMeasure, SilenceAndNothingToRead) {
  const LevelWindow zeros = MeasureLevel(a, 0, kWindow, kMono16, 16, 0);
  EXPECT_EQ(zeros.sumDifferences, 110);  // each zero difference counts 1
  LevelReading r;
  ASSERT_TRUE(ThreadLevelReading(kLevelSubWide, zeros, 65536, &r));
  EXPECT_FALSE(r.silent);
  EXPECT_DOUBLE_EQ(r.decibels, SilenceDecibels(65536));
  EXPECT_FALSE(ThreadLevelReading(kLevelPeak, zeros, 65536, &r));
  // The thread calls a window quieter than one step a frame silence; the paint does not.
  PutSample(b, 5, 50, kMono16, 16);
  const LevelWindow quiet = MeasureLevel(b, 0, kWindow, kMono16, 16, 0);
  ASSERT_TRUE(ThreadLevelReading(kLevelRmsLike, quiet, 65536, &r));
  EXPECT_TRUE(r.silent);
  EXPECT_FALSE(PaintLevelReading(kLevelRmsLike, quiet, 65536).silent);

  Alternating(a, 0, 64000, 32767);
  for (const LevelWindow& w : {MeasureLevel(a, kPlayBufferReadLimit, kWindow, 1, 8, 0), MeasureLevel(a, 128000, kWindow, kMono16, 16, 0),
                               MeasureLevel(a, -4, kWindow, kMono16, 16, 0), MeasureLevel(a, 0, 0, kMono16, 16, 0),
                               MeasureLevel(nullptr, 0, kWindow, kMono16, 16, 0)}) {
    EXPECT_EQ(w.frames, 0);
    for (int32_t type = 0; type <= 5; ++type) EXPECT_TRUE(PaintLevelReading(type, w, 65536).silent) << type;
    ASSERT_TRUE(ThreadLevelReading(kLevelSubWide, w, 65536, &r));
    EXPECT_TRUE(r.silent && std::isfinite(r.decibels));
  }
  for (int32_t type = 0; type <= 5; ++type) EXPECT_NEAR(PaintLevelReading(type, zeros, 65536).decibels, -96.33, 0.005);
  // The buffer's last frame has no next frame: whatever follows the buffer in memory must not count.
  PutSample(b, 0, 5000, kMono16, 16);
  for (const auto& [blockAlign, lastFrame] : {std::pair{kMono16, 63999}, std::pair{4, 31999}}) {
    PutSample(a, lastFrame, -1000, blockAlign, 16);
    const LevelWindow w = MeasureLevel(a, lastFrame * blockAlign, kWindow, blockAlign, 16, 0);
    EXPECT_EQ(std::tuple(w.frames, w.sumAbsolute, w.sumDifferences, w.end), std::tuple(1, int64_t{1000}, int64_t{1}, 128000));
  }
}

// The level rows drawn on a memory surface with the system font.
class LevelPaint : public LevelMeasure {
 protected:
  void SetUp() override {
    LevelMeasure::SetUp();
    display_test::UseSource(1, 16);
    SampleStore.lastWritten = kPlayBufferA;
    state.ahead = 256000;  // while stopped, the stored ahead places the window at offset 0
  }
  bool Paint(int32_t type = kLevelSubWide, DWORD position = 0) { return PaintLevel(dc, state, position, type, 400); }
  // The level text: `start` and blanks up to 120 characters; compared left of the bar.
  ::testing::AssertionResult LevelTextIs(const std::string& start) {
    return TextImage(start + std::string(120 - start.size(), ' ')).At(dc, 0, 60, kLevelBarLeft);
  }
  // The last black pixel of the bar row, from x = 120 on; 119 must be white.
  int BarEnd() {
    int x = kLevelBarLeft;
    while (GetPixel(dc, x, 68) == kBlack) ++x;
    return GetPixel(dc, kLevelBarLeft - 1, 68) == kWhite ? x - 1 : -1;
  }
  // A blank picture and no readings held.
  void Clear() {
    Rectangle(dc, -1, -1, 801, 101);
    state = LevelPaintState();
    state.ahead = 256000;
  }

  test_support::Picture picture{800, 100};
  HDC dc = picture.dc();
  LevelPaintState state;
};

TEST_F(LevelPaint, BarDotMarkAndTextOfEachReading) {
  for (const auto& [bits, markX] : {std::pair{8, 312}, std::pair{16, 504}}) {
    display_test::UseSource(1, bits);
    Alternating(a, 0, 200, bits == 16 ? 32767 : 127, bits / 8, bits);
    ASSERT_TRUE(Paint());
    EXPECT_EQ(BarEnd(), markX) << bits;  // the bar, then the dot
    // The 0 dB mark: a line from (markX, 67) up to y = 60 exclusive, and its label.
    for (int y = 60; y <= 67; ++y) EXPECT_EQ(GetPixel(dc, markX, y), y == 60 ? kWhite : kBlack) << y;
    EXPECT_TRUE(TextImage("0dB").At(dc, markX, 40));
    EXPECT_TRUE(bits == 8 || LevelTextIs("vol(dB):-0.00dB  "));
    Clear();
  }
  Sine(a, 0, 200);
  ASSERT_TRUE(Paint(kLevelPeak));
  EXPECT_TRUE(LevelTextIs("vol(dB): 0.00dB  "));
  EXPECT_EQ(BarEnd(), 120 + 4 * 95 - 1);  // a positive reading draws 95 units
  Clear();
  std::memset(a, 0, 400);
  ASSERT_TRUE(Paint(kLevelRmsLike));
  EXPECT_TRUE(LevelTextIs("vol(dB):-96.33dB(-inf)"));
  EXPECT_EQ(GetPixel(dc, 120, 68), kBlack);  // the dot at 0 units
  EXPECT_EQ(display_test::InkIn(dc, 200, 68, 504, 69), 0);
  // While the thread draws the bar, the paint draws only the dot and the mark.
  Clear();
  Alternating(a, 0, 200, 32767);
  levelThreadOff = 0;
  ASSERT_TRUE(Paint());
  EXPECT_EQ(GetPixel(dc, 300, 68), kWhite);
  EXPECT_EQ(GetPixel(dc, 504, 68), kBlack);
  EXPECT_EQ(GetPixel(dc, 504, 64), kBlack);
  // Without a play buffer nothing is drawn.
  Clear();
  SampleStore.lastWritten = kNoPlayBuffer;
  EXPECT_FALSE(Paint());
  EXPECT_EQ(display_test::InkIn(dc, 0, 0, 800, 100), 0);
}

TEST_F(LevelPaint, TheDotStaysAtTheLoudestOfTheLastTenPaints) {
  Alternating(a, 0, 200, 32767);
  ASSERT_TRUE(Paint());
  Alternating(a, 0, 200, 3276);  // a difference of 6553: -20 dB, 76 units
  for (int i = 0; i < 9; ++i) {
    ASSERT_TRUE(Paint());
    ASSERT_EQ(BarEnd(), 423) << i;
    ASSERT_EQ(GetPixel(dc, 504, 68), kBlack) << i;
  }
  ASSERT_TRUE(Paint());
  EXPECT_EQ(GetPixel(dc, 504, 68), kWhite);
  EXPECT_EQ(BarEnd(), 424);  // the dot now sits where the bar ends
}

TEST_F(LevelPaint, WhilePlayingTheWindowFollowsTheDevicePosition) {
  playflag = 1;
  buff = 1;
  // 128000 - (912 + 88200 / 1000) = 127000 ahead: offset 1000 of the buffer written last.
  Alternating(a, 500, 200, 32767);
  ASSERT_TRUE(Paint(kLevelSubWide, 912));
  EXPECT_EQ(state.ahead, 127000);
  EXPECT_TRUE(LevelTextIs("vol(dB):-0.00dB  "));
  // Played past everything counted: whole buffers are added back, 200088 - 128000 = 72088.
  Alternating(a, 36044, 200, 32767);
  std::memset(a + 1000, 0, 400);
  ASSERT_TRUE(Paint(kLevelSubWide, 200000));
  EXPECT_EQ(state.ahead, 128000 - 72088);
  EXPECT_TRUE(LevelTextIs("vol(dB):-0.00dB  "));
  // At the end of the file with the device closed, the last place stays.
  eflag = 1;
  ASSERT_TRUE(Paint(kLevelSubWide, 0));
  EXPECT_EQ(state.ahead, 128000 - 72088);
}

// The thread, drawing into a real main window and its off-screen surface: hold freezes the bar,
// and the thread ends when the paint takes the bar back or playback stops.
using LevelThread = display_test::StatusDisplayTest;

TEST_F(LevelThread, DrawsTextAndBarUntilHeldTurnedOffOrStopped) {
  // The device is closed (position 0): 127000 ahead puts the window at offset 1000 of A.
  SampleStore.lastWritten = kPlayBufferA;
  SampleStore.writtenEnd = 127000;
  Alternating(SampleStore.bufferA, 500, 200, 32767);
  settings.levelmetertype = kLevelSubWide;
  levelThreadOff = 0;
  playflag = 1;
  auto eventually = [](auto check) {
    for (int i = 0; i < 400 && !check(); ++i) Sleep(5);
    return static_cast<bool>(check());
  };
  auto barReaches503 = [&] { return eventually([&] { return GetPixel(window, 503, 68) == kBlack; }); };
  auto eraseBarRow = [&] {
    for (int x = 0; x < 600; ++x) SetPixel(window, x, 68, kWhite);
  };
  for (const bool turnedOff : {true, false}) {
    StartViewThreads(ViewStart::Playback);
    ASSERT_TRUE(barReaches503());
    EXPECT_EQ(GetPixel(window, 504, 68), kWhite);
    EXPECT_EQ(GetPixel(window, 504, 64), kBlack);  // the mark on the window
    EXPECT_EQ(GetPixel(MainOffscreen(), 503, 68), kBlack);
    EXPECT_TRUE(eventually([&] { return TextImage("vol(dB):-0.00dB    ").At(window, 0, 60, kLevelBarLeft); }));
    levelHold = 1;
    Sleep(30);  // a pass under way finishes
    eraseBarRow();
    Sleep(50);
    EXPECT_EQ(GetPixel(window, 300, 68), kWhite);
    levelHold = 0;
    ASSERT_TRUE(barReaches503());
    levelThreadOff = turnedOff ? 1 : 0;  // the paint takes the bar back, or playback stops
    playflag = turnedOff ? 1 : 0;
    ASSERT_TRUE(WaitForViewThreadEnd(ViewKind::LevelMeter, 2000));
    EXPECT_EQ(playflag, turnedOff ? 1 : 0);
    eraseBarRow();
    Sleep(30);
    EXPECT_EQ(GetPixel(window, 300, 68), kWhite);
    levelThreadOff = 0;
  }
  // Every pass sleeps whole 5 ms, and measures 220 bytes of 88200 a second.
  int interval = -1, average = 0, measured = -1;
  char info[200];
  FormatLevelThreadInfo(info, sizeof info);
  ASSERT_EQ(std::sscanf(info, "levelmeterreset:levelmeter更新間隔%dms(五回平均%d)  levelmeter%dms分計算", &interval,
                        &average, &measured),
            3)
      << info;
  EXPECT_EQ(measured, 2);
  EXPECT_GE(interval, 5);
}

}  // namespace
