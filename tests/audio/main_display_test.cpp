// The main window's status display: its text lines and the level meter's reading, bar and thread.
#include "audio/main_display.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>

#include "analysis/window_function.h"
#include "audio/level_meter.h"
#include "audio/level_meter_paint.h"
#include "audio/playback.h"
#include "audio/source_file.h"
#include "platform/win32.h"
#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/spectrum_frame.h"
#include "support/picture.h"
#include "support/sound_files.h"
#include "support/temp_dir.h"
#include "support/wav_bytes.h"
#include "transport_reset.h"

namespace {

using audio_test::ResetTransport;
using test_support::InkIn;
using test_support::kBlack;
using test_support::kWhite;
using test_support::TextImage;

constexpr int kMono16 = 2;
constexpr int kWindow = 220;  // 1/400 s of 44100 Hz mono 16-bit

void UseSource(int channels, int bits) {
  const auto align = static_cast<WORD>(channels * bits / 8);
  SampleStore.format = WAVEFORMATEX{WAVE_FORMAT_PCM, static_cast<WORD>(channels), 44100, 44100u * align,
                                    align,           static_cast<WORD>(bits),     0};
  SampleStore.fileRate = 44100;
  SampleStore.blockAlign = align;
  SampleStore.fullScale = 1 << bits;
}

// The first channel of frame `frame` of a play buffer.
void PutSample(char* buffer, int frame, int value, int blockAlign = kMono16, int bits = 16) {
  const int position = frame * blockAlign;
  if (bits == 8) {
    PlayBufferStore(buffer, position, static_cast<unsigned char>(value + 128));
  } else {
    PlayBufferStore(buffer, position, static_cast<unsigned char>(value & 0xFF));
    PlayBufferStore(buffer, position + 1, static_cast<unsigned char>((value >> 8) & 0xFF));
  }
}

// Frames from `first` on alternate between +a and -(a + 1): full scale for a = 32767.
void Alternating(char* buffer, int first, int count, int a, int blockAlign = kMono16, int bits = 16) {
  for (int i = 0; i < count; ++i) PutSample(buffer, first + i, i % 2 == 0 ? a : -a - 1, blockAlign, bits);
}

// A 441 Hz sine at 44100 Hz: 100 frames a period, reaching exactly +32767 at frame 25.
void Sine(char* buffer, int first, int count) {
  for (int i = 0; i < count; ++i)
    PutSample(buffer, first + i, static_cast<int>(std::lround(32767.0 * std::sin(2.0 * M_PI * i / 100.0))));
}

// Silence reads -96.33 "(-inf)" (not type 0 in the thread); nothing to read is silence, not a division by 0.
TEST(LevelMeasure, ReadingsOfEachTypeSilenceAndNothingToRead) {
  ResetTransport();
  char* a = SampleStore.bufferA;
  char* b = SampleStore.bufferB;
  const LevelWindow zeros = MeasureLevel(a, 0, kWindow, kMono16, 16, 0);
  EXPECT_EQ(zeros.sumDifferences, 110);  // each zero difference counts 1
  Alternating(b, 0, 200, 127, 1, 8);
  Sine(a, 1000, 200);
  PutSample(a, 2108, 3000);  // sub compares the window's last two frames
  PutSample(a, 2109, -500);
  const LevelWindow full8 = MeasureLevel(b, 0, 110, 1, 8, 0);
  const LevelWindow sine = MeasureLevel(a, 2000, 200, kMono16, 16, 0);  // one whole period
  const LevelWindow sub = MeasureLevel(a, 4000, kWindow, kMono16, 16, 0);
  EXPECT_EQ(full8.frames, 110);
  const struct {
    const LevelWindow& window;
    int32_t type, fullScale;
    double decibels, tolerance;
  } cases[] = {
      {full8, kLevelSubWide, 256, 20.0 * std::log10(255.0 / 256.0), 1e-12},
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
  PutSample(a, 0, -1234);
  PutSample(a, 1, 766);
  const LevelWindow first = MeasureLevel(a, 0, 2, kMono16, 16, 77);
  EXPECT_EQ(std::tuple(first.frames, first.previousAbsolute, first.currentAbsolute, first.sumDifferences),
            std::tuple(1, 77, 1234, int64_t{2000}));
  LevelReading r;
  ASSERT_TRUE(ThreadLevelReading(kLevelSubWide, zeros, 65536, &r));
  EXPECT_EQ(std::tuple(r.silent, r.decibels), std::tuple(false, SilenceDecibels(65536)));
  EXPECT_FALSE(ThreadLevelReading(kLevelPeak, zeros, 65536, &r));
  for (int32_t type = 0; type <= 5; ++type) EXPECT_NEAR(PaintLevelReading(type, zeros, 65536).decibels, -96.33, 0.005);
  for (const LevelWindow& w :
       {MeasureLevel(a, kPlayBufferReadLimit, kWindow, 1, 8, 0), MeasureLevel(a, -4, kWindow, kMono16, 16, 0),
        MeasureLevel(a, 0, 0, kMono16, 16, 0), MeasureLevel(nullptr, 0, kWindow, kMono16, 16, 0)}) {
    EXPECT_EQ(w.frames, 0);
    for (int32_t type = 0; type <= 5; ++type) EXPECT_TRUE(PaintLevelReading(type, w, 65536).silent) << type;
    ASSERT_TRUE(ThreadLevelReading(kLevelSubWide, w, 65536, &r));
    EXPECT_TRUE(r.silent && std::isfinite(r.decibels));
  }
  // The buffer's last frame has no next frame: whatever follows the buffer in memory must not count.
  Alternating(a, 0, 64000, 32767);
  PutSample(b, 0, 5000);
  for (const auto& [blockAlign, lastFrame] : {std::pair{kMono16, 63999}, std::pair{4, 31999}}) {
    PutSample(a, lastFrame, -1000, blockAlign);
    const LevelWindow w = MeasureLevel(a, lastFrame * blockAlign, kWindow, blockAlign, 16, 0);
    EXPECT_EQ(std::tuple(w.frames, w.sumAbsolute, w.sumDifferences, w.end),
              std::tuple(1, int64_t{1000}, int64_t{1}, 128000));
  }
  ResetTransport();
}

// 5 s of mono 16-bit sound; the device has played half a second.
constexpr int32_t kDataSize = 441000;
constexpr DWORD kHalfSecond = 44100;

class StatusLines : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool registered = [] {
      WNDCLASSA cls{};
      cls.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg != WM_SIZE) return DefWindowProcA(hwnd, msg, wParam, lParam);
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
      };
      cls.lpszClassName = "status display test";
      cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
      return RegisterClassA(&cls) != 0;
    }();
    ASSERT_TRUE(registered);
    ResetTransport();
    UseSource(1, 16);
    hwnd = CreateWindowExA(0, "status display test", "morvex", WS_OVERLAPPEDWINDOW, 0, 0, 800, 400, nullptr, nullptr,
                           nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    ShowWindow(hwnd, SW_SHOW);  // only a visible window is asked to paint
    CreateMainDisplay(hwnd, settings);
    RECT client{};
    GetClientRect(hwnd, &client);
    OnSize(client.right, client.bottom);
    window = GetDC(hwnd);
    audio_test::Pump();  // the first paint after showing erases the background
    statusEnabled = 1;
    settings.levelmetertype = kLevelSubWide;
    SampleStore.dataSize = kDataSize;
    std::strcpy(SampleStore.WavFileName, "song.wav");
    SampleStore.lastWritten = kPlayBufferA;
    SampleStore.writtenEnd = 256000;
    playflag = buff = 1;
    // 128000 - (44100 + 88) ahead: the level window starts at byte 44188, frame 22094.
    Alternating(SampleStore.bufferA, 22094, 200, 32767);
  }
  void TearDown() override {
    ReleaseDC(hwnd, window);
    DestroyMainDisplay();
    DestroyWindow(hwnd);
    audio_test::Pump();
    ResetTransport();
  }
  // Paints, as the window's paint handler does, with the device at `position`.
  void Paint(DWORD position) {
    InvalidateRect(hwnd, nullptr, FALSE);
    PaintStatus(position);
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
  // The level text: `start` and blanks up to 120 characters; compared left of the bar.
  ::testing::AssertionResult LevelTextIs(const std::string& start) {
    return Shows(start + std::string(120 - start.size(), ' '), 0, 60, kLevelBarLeft);
  }
  // The last black pixel of the bar row, from x = 120 on; 119 must be white.
  int BarEnd() {
    int x = kLevelBarLeft;
    while (GetPixel(window, x, 68) == kBlack) ++x;
    return GetPixel(window, kLevelBarLeft - 1, 68) == kWhite ? x - 1 : -1;
  }
  // A black mark where the "current" line goes: only a copy of the off-screen surface removes it.
  void MarkWindow() { SetPixel(window, 2, 25, kBlack); }
  bool MarkKept() { return GetPixel(window, 2, 25) == kBlack; }
  SettingsRecord settings;
  HWND hwnd = nullptr;
  HDC window = nullptr;  // the window's client surface
};

TEST_F(StatusLines, PlayingShowsPositionEndSizeLevelAndNameAndTheFullDisplayAddsTheTechnicalLines) {
  Paint(kHalfSecond);
  EXPECT_TRUE(Shows("end:5.00sec    ", 260, 20));
  EXPECT_TRUE(Shows("current:44100byte      ", 0, 20));
  EXPECT_TRUE(Shows("0.50sec ", 180, 20));
  EXPECT_TRUE(Shows("datasize=441000byte   ", 0, 40));
  EXPECT_TRUE(Shows("filename:song.wav    ", 0, 80));
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

// The level window at frame 22094 read as each reading: bar, peak-hold dot, 0 dB mark and text.
TEST_F(StatusLines, LevelBarDotMarkAndTextOfEachReading) {
  char* a = SampleStore.bufferA;
  for (const auto& [bits, markX] : {std::pair{16, 504}, std::pair{8, 312}}) {
    UseSource(1, bits);
    if (bits == 8) Alternating(a, 44144, 200, 127, 1, 8);  // 44 bytes a millisecond ahead
    Paint(kHalfSecond);
    EXPECT_EQ(BarEnd(), markX) << bits;  // the bar, then the dot
    // The 0 dB mark: a line from (markX, 67) up to y = 60 exclusive, and its label.
    for (int y = 60; y <= 67; ++y) EXPECT_EQ(GetPixel(window, markX, y), y == 60 ? kWhite : kBlack) << y;
    EXPECT_TRUE(Shows("0dB", markX, 40));
  }
  UseSource(1, 16);
  Sine(a, 22094, 200);
  settings.levelmetertype = kLevelPeak;
  Paint(kHalfSecond);
  EXPECT_TRUE(LevelTextIs("vol(dB): 0.00dB  "));
  EXPECT_EQ(BarEnd(), 120 + 4 * 95 - 1);  // a positive reading draws 95 units
  std::memset(a + 44188, 0, 400);
  settings.levelmetertype = kLevelRmsLike;
  Paint(kHalfSecond);
  EXPECT_TRUE(LevelTextIs("vol(dB):-96.33dB(-inf)"));
  EXPECT_EQ(InkIn(window, 200, 68, 504, 69), 0);  // no bar
  // The dot stays at the loudest of the last ten paints.
  settings.levelmetertype = kLevelSubWide;
  Alternating(a, 22094, 200, 32767);
  Paint(kHalfSecond);
  Alternating(a, 22094, 200, 3276);  // a difference of 6553: -20 dB, 76 units
  for (int i = 0; i < 9; ++i) {
    Paint(kHalfSecond);
    ASSERT_EQ(BarEnd(), 423) << i;
    ASSERT_EQ(GetPixel(window, 504, 68), kBlack) << i;
  }
  Paint(kHalfSecond);
  EXPECT_EQ(GetPixel(window, 504, 68), kWhite);
  EXPECT_EQ(BarEnd(), 424);  // the dot now sits where the bar ends
  // While the thread draws the bar, the paint draws only the dot and the mark.
  levelThreadOff = 0;
  Alternating(a, 22094, 200, 32767);
  Paint(kHalfSecond);
  EXPECT_EQ(std::tuple(GetPixel(window, 300, 68), GetPixel(window, 504, 68), GetPixel(window, 504, 64)),
            std::tuple(kWhite, kBlack, kBlack));
  levelThreadOff = 1;
  // Played past everything counted: whole buffers are added back, 200088 - 128000 = 72088. At the end
  // of the file with the device closed, the last place stays.
  Alternating(a, 36044, 200, 32767);
  for (const DWORD position : {200000u, 0u}) {
    eflag = position == 0 ? 1 : 0;
    Paint(position);
    EXPECT_TRUE(LevelTextIs("vol(dB):-0.00dB  ")) << position;
  }
}

// A decoded file's own format follows its name; a WAV file the reader reads shows its name alone.
TEST_F(StatusLines, TheNameLineShowsADecodedFilesOwnFormat) {
  test_support::TempDir dir;
  const auto open = [](const std::string& path) {
    std::snprintf(SampleStore.WavFileName, sizeof SampleStore.WavFileName, "%s", path.c_str());
    OpenSourceFile(nullptr, 0);
    std::fclose(SampleStore.file);
    SampleStore.file = nullptr;
  };
  const std::string flac = test_support::WriteSound(dir, "a.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 2,
                                                    std::vector<int16_t>(2000, 100));
  open(flac);
  Paint(kHalfSecond);
  EXPECT_TRUE(Shows("filename:" + flac + " (flac 24bit)    ", 0, 80));
  const std::string wav = dir.Write("b.wav", test_support::CanonicalWav({}, test_support::Bytes(4000, 1)));
  open(wav);
  Paint(kHalfSecond);
  EXPECT_TRUE(Shows("filename:" + wav + "    ", 0, 80));
}

// After a stop current is the data size unless paused (trailing blanks erase longer text); neither the
// draining last buffer nor, without a play buffer, anything is redrawn (an error while playing).
TEST_F(StatusLines, StoppedPausedDrainingAndWithoutAPlayBuffer) {
  // Without status text only the level and the name; before the device opens only the name.
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
  statusText = 1;
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

}  // namespace
