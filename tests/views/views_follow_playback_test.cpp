// The views as their own threads draw them while the program plays: the FFT graph, the
// spectrogram, the level meter, the vectorscope and the waveform must show the sound at the play
// position after a start, a pause and play far into the file and the 5-second jumps, and the
// frequency axes must follow the analysis settings the program starts with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <utility>

#include "analysis/fft_window.h"
#include "app/main_window_rig.h"
#include "audio/main_display.h"
#include "shared/spectrum_frame.h"
#include "spectrogram/sg_surfaces.h"
#include "support/picture.h"
#include "views/vectorscope_window.h"
#include "views/waveform_window.h"

namespace {

using main_window_rig::Bytes;
using test_support::kBlack;
using test_support::Picture;
using Points = std::set<std::pair<int, int>>;

constexpr int kRate = 44100;

void PutFrame(Bytes& out, int left, int right) {
  for (const int v : {left, right}) out.insert(out.end(), {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
}

// A square wave at the frequency of bin `bin` of a 2048-point transform: every sample has the
// same size, so the level meter reads it exactly.
int Square(int frame, int bin, int amplitude) {
  return std::sin(2 * M_PI * bin * frame / 2048.0) >= 0 ? amplitude : -amplitude;
}

// Where a frequency lies on a logarithmic axis from 1 Hz to `nyquist` over `span` pixels, and
// whether it lies clear of a pixel's edge (so that rounding cannot move it).
double LogPlace(double hz, double nyquist, int span) { return span * std::log10(hz) / std::log10(nyquist); }
bool ClearOfEdges(double place) { return place - std::floor(place) > 0.02 && place - std::floor(place) < 0.98; }

// The black pixels of a window's client area as its view's thread last copied it there.
Points BlackIn(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  const Picture shot(r.right, r.bottom);
  const HDC dc = GetDC(window);
  BitBlt(shot.dc(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
  Points points;
  for (int x = 0; x < r.right; ++x) {
    for (const int y : shot.rowsOf(x, kBlack)) points.insert({x, y});
  }
  return points;
}

class ViewsFollowPlayback : public main_window_rig::MainWindowRig {
 protected:
  void SetUp() override {
    MainWindowRig::SetUp();
    WindowRebuild = 1;  // as the process starts
  }
  void TearDown() override {
    MainWindowRig::TearDown();
    SamplesPerFrame = 2048;
  }
  // Looks again and again (without moving the sound on) until `look` gives `expected`, 10 s at
  // most: the views catch up with a new position within a few of their cycles.
  template <typename Look, typename Value>
  static testing::AssertionResult Shows(Look look, const Value& expected) {
    Value seen{};
    for (int i = 0; i < 1000; ++i) {
      Pump();
      if ((seen = look()) == expected) return testing::AssertionSuccess();
      Sleep(10);
    }
    return testing::AssertionFailure() << "shows " << testing::PrintToString(seen) << ", expected "
                                       << testing::PrintToString(expected);
  }
  // Plays on until the jump's resume has started a new device.
  void Resumed() { ASSERT_TRUE(RunUntil([] { return playflag.load() == 1; })); }

  // The FFT graph's highest curve point below the statistics line: its column.
  static int FftPeakColumn() {
    int column = -1, top = 1 << 20;
    for (const auto& [x, y] : BlackIn(FftWindowHandle())) {
      if (y >= 20 && y < top) top = y, column = x;
    }
    return column;
  }
  // The darkest row of the spectrogram's last finished column, in the grey map; -1 while the
  // column lies under the Hz labels or a wrap intervened.
  static int SpectrogramDarkestRow() {
    const int column = SgControl.column - 1, height = SgControl.clientHeight;
    if (column < 40) return -1;
    int darkest = 0;
    for (int y = 1; y < height; ++y) {
      if ((GetPixel(SgBackSurface, column, y) & 0xFF) < (GetPixel(SgBackSurface, column, darkest) & 0xFF)) darkest = y;
    }
    return SgControl.column - 1 >= column ? darkest : -1;
  }
  // The level meter's bar in units of 4 pixels: the black run along y = 68 from x = 120 (the
  // peak-hold dot may sit right after its end).
  static int LevelBarUnits() {
    int end = 120;
    while (GetPixel(MainOffscreen(), end, 68) == kBlack) ++end;
    return (end - 120) / 4;
  }
};

// Half-second segments of 16-bit stereo, the left channel a square wave, the right silent; each
// segment has its own bin (8 ... 25, each on a pixel column of its own in the FFT graph) and its
// own level (bar lengths 60 ... 75), so that a view showing another part of the file shows
// another bin or bar.
struct Segment {
  int bin, bar;
};
Segment SegmentAt(double seconds) {
  const int i = static_cast<int>(seconds * 2);
  return {8 + i % 18, 60 + i % 16};
}
int AmplitudeOfBar(int bar) {
  // The bar is trunc(96.3 + dB) with dB = 20 log10(amplitude / 65536) + 10 for these samples.
  return static_cast<int>(std::lround(65536 * std::pow(10.0, (bar + 0.5 - 96.3 - 10) / 20)));
}
Bytes SegmentedFile(int seconds) {
  Bytes out;
  for (int f = 0; f < seconds * kRate; ++f) {
    const Segment s = SegmentAt(static_cast<double>(f) / kRate);
    PutFrame(out, Square(f, s.bin, AmplitudeOfBar(s.bar)), 0);
  }
  return out;
}

TEST_F(ViewsFollowPlayback, SpectrumSpectrogramAndLevelShowThePlayPositionAfterPausesAndJumps) {
  Settings.wfkind = 'z';  // a bin's tone stays in its bin
  Settings.sgcolor = 0;   // grey: the strongest is the darkest
  Settings.sggraphmagnified = 20;  // no segment saturates
  Start(SegmentedFile(12), test_support::FmtFields{});
  const int fftWidth = FftWindowClientSize().width, sgHeight = SgControl.clientHeight;
  // What is done before each look, and the second of the file the look expects.
  const struct {
    const char* what;
    std::function<void()> act;
    double at;
  } steps[] = {
      {"from the start", [&] { Run(1250); }, 1.25},
      {"pause and play far into the file",
       [&] {
         Run(2000);
         Posted('t');
         Run(1000);
         Posted('p');
         Run(500);
       },
       3.75},
      {"a jump forward while playing",
       [&] {
         Posted('h');
         Resumed();
         Run(500);
       },
       9.25},
      {"a jump back, the level meter in its own thread",
       [&] {
         Posted('x');
         Posted('g');
         Resumed();
         Run(500);
       },
       4.75},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    if (HasFatalFailure()) return;
    const Segment s = SegmentAt(step.at);
    const double hz = s.bin * static_cast<double>(kRate) / 2048;
    const double column = LogPlace(hz, kRate / 2, fftWidth), row = LogPlace(hz, kRate / 2, sgHeight);
    ASSERT_TRUE(ClearOfEdges(column) && ClearOfEdges(row)) << "bin " << s.bin;
    EXPECT_TRUE(Shows(FftPeakColumn, static_cast<int>(column))) << "FFT graph, bin " << s.bin;
    EXPECT_TRUE(Shows(SpectrogramDarkestRow, sgHeight - static_cast<int>(row))) << "spectrogram, bin " << s.bin;
    EXPECT_TRUE(Shows(LevelBarUnits, s.bar)) << "level meter";
    if (HasFailure()) return;  // each look waits its 10 s in vain from here on
  }
}

// 16-bit stereo: pulses of 64 frames at `kPulse` and 64 frames of silence, on the left channel
// alone for the first 4 seconds, then on the right alone.
constexpr int kPulse = 16000;
Bytes LeftThenRightPulses() {
  Bytes out;
  for (int f = 0; f < 12 * kRate; ++f) {
    const int pulse = f / 64 % 2 == 0 ? kPulse : 0;
    PutFrame(out, f < 4 * kRate ? pulse : 0, f < 4 * kRate ? 0 : pulse);
  }
  return out;
}

// The vectorscope draws the left channel upwards and the right to the right from the centre; the
// waveform draws the left channel upwards from its middle row.
TEST_F(ViewsFollowPlayback, VectorscopeAndWaveformShowEachChannelWhereItBelongs) {
  Settings.vswindowstop = Settings.wavwindowstop = 0;
  Start(LeftThenRightPulses(), test_support::FmtFields{});
  const int vsWidth = VsClientWidth, vsHeight = VsClientHeight, wavWidth = WavClientWidth;
  const int centreX = vsWidth / 2, centreY = vsHeight / 2, middle = WavClientHeight / 2;
  const double pulseX = kPulse * static_cast<double>(static_cast<float>(vsWidth / 2.0 / 32768)) + centreX;
  const double pulseY = -kPulse * static_cast<double>(static_cast<float>(vsHeight / 2.0 / 32768)) + centreY;
  const double pulseRow = -kPulse * static_cast<double>(static_cast<float>((WavClientHeight / 2) / 32768.0));
  ASSERT_TRUE(ClearOfEdges(pulseX) && ClearOfEdges(pulseY) && ClearOfEdges(pulseRow));
  const int waveTop = static_cast<int>(pulseRow) + middle;
  const auto vectorscope = [] { return BlackIn(VectorscopeWindowHandle()); };
  const auto waveform = [] { return BlackIn(WaveformWindowHandle()); };
  // The waveform's topmost and lowest ink.
  const auto waveformSpan = [&] {
    int top = 1 << 20, bottom = -1;
    for (const auto& [x, y] : waveform()) top = std::min(top, y), bottom = std::max(bottom, y);
    return std::pair(top, bottom);
  };

  Run(1250);
  Points vertical, horizontal, flat;
  for (int y = static_cast<int>(pulseY); y <= centreY; ++y) vertical.insert({centreX, y});
  EXPECT_TRUE(Shows(vectorscope, vertical)) << "the left channel alone: a line up from the centre";
  EXPECT_TRUE(Shows(waveformSpan, std::pair(waveTop, middle))) << "pulses up from the middle row";

  Posted('h');
  Resumed();
  Run(500);
  for (int x = centreX; x <= static_cast<int>(pulseX); ++x) horizontal.insert({x, centreY});
  for (int x = 0; x < wavWidth - 1; ++x) flat.insert({x, middle});
  EXPECT_TRUE(Shows(vectorscope, horizontal)) << "the right channel alone, after a jump: a line to the right";
  EXPECT_TRUE(Shows(waveform, flat)) << "a silent left channel";
}

// The analysis rate, the transform size and the zero fill as the settings file gives them at
// start-up: an 86.1 Hz tone (4 bins of 2048 at 44100 Hz) peaks in the FFT graph and darkens the
// spectrogram where that frequency lies on axes that end at half the analysis rate.
TEST_F(ViewsFollowPlayback, FrequencyAxesFollowTheAnalysisSettingsReadAtStartUp) {
  const double hz = 4 * static_cast<double>(kRate) / 2048;
  Bytes tone;
  for (int f = 0; f < 4 * kRate; ++f) {
    PutFrame(tone, static_cast<int>(std::lround(1000 * std::sin(2 * M_PI * 4 * f / 2048.0))), 0);
  }
  const struct {
    const char* settings;
    int analysisRate;
  } cases[] = {
      {"downrateforfft=2\r\nfftsample=4096\r\nwfkind=z\r\nsgcolor=0\r\n", kRate / 2},
      {"downrateforfft=4\r\nfftsample=1024\r\nzerofill=2\r\nwfkind=z\r\nsgcolor=0\r\n", kRate / 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings);
    // What the program's start does before its main window: the settings, then the block length.
    LoadSettings(Settings, dir_.Write("morvex.ini", c.settings).c_str());
    SamplesPerFrame = Settings.fftsample / Settings.zerofill;
    Start(tone, test_support::FmtFields{});
    Run(1000);
    const int sgHeight = SgControl.clientHeight;
    const double column = LogPlace(hz, c.analysisRate / 2, FftWindowClientSize().width);
    const double row = LogPlace(hz, c.analysisRate / 2.0, sgHeight);
    ASSERT_TRUE(ClearOfEdges(column) && ClearOfEdges(row));
    EXPECT_TRUE(Shows(FftPeakColumn, static_cast<int>(column))) << "FFT graph";
    EXPECT_TRUE(Shows(SpectrogramDarkestRow, sgHeight - static_cast<int>(row))) << "spectrogram";
    TearDown();
    SetUp();
  }
}

}  // namespace
