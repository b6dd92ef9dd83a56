// morvex-render's pictures against the program's own windows and scales.
#include <gtest/gtest.h>

#include <QImage>
#include <atomic>
#include <chrono>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "analysis/fft_graph_flags.h"
#include "analysis/fft_thread.h"
#include "analysis/fft_window.h"
#include "analysis/screen_surface.h"
#include "analysis/shared_spectrum.h"
#include "analysis/spectrum_filters.h"
#include "analysis/spectrum_cycle.h"
#include "analysis/spectrum_frame.h"
#include "analysis/window_function.h"
#include "render_run.h"
#include "spectrogram/sg_geometry.h"
#include "support/wav_bytes.h"

namespace {

using render_test::PixelAt;
using render_test::RunRender;
using test_support::TempDir;

constexpr int kRate = 44100;

// 16-bit frames: channel c of frame f is channels[c](f).
template <typename... Channel>
test_support::Bytes Wav(int frames, Channel... channels) {
  test_support::Bytes samples;
  for (int f = 0; f < frames; ++f) {
    for (const int32_t v : {channels(f)...}) test_support::PutLe(samples, static_cast<uint16_t>(v), 2);
  }
  test_support::FmtFields fmt;
  fmt.channels = sizeof...(channels);
  return test_support::CanonicalWav(fmt, samples);
}

auto Tone(double hz, double amplitude) {
  return [=](int f) { return static_cast<int32_t>(amplitude * std::sin(2 * M_PI * hz * f / kRate)); };
}

SettingsRecord settings;
SampleStoreRecord store;
std::atomic<int32_t> playing{0}, inputOn{0}, buffers{0};

uint32_t Publications() {
  return (SharedSpectrum.slots[0].sequence.load() + SharedSpectrum.slots[1].sequence.load()) / 2;
}

// The FFT window's client surface after its thread analysed the block at the start of `wav`'s
// sound over and over (long enough for the smoothing in time to settle), statistics off.
void ProgramFftPicture(const test_support::Bytes& wav, HDC* window, HWND* fft, HWND main) {
  std::copy(wav.begin() + 44, wav.begin() + 44 + kPlayBufferBytes, store.bufferA);
  std::copy(wav.begin() + 44 + kPlayBufferBytes, wav.begin() + 44 + 2 * kPlayBufferBytes, store.bufferB);
  store.format = WAVEFORMATEX{WAVE_FORMAT_PCM, 2, kRate, kRate * 4, 4, 16, 0};
  store.fileRate = store.analysisRate = kRate;
  store.blockAlign = 4;
  store.fullScale = 1 << 16;
  store.lastWritten = kPlayBufferB;
  store.writtenEnd = 2 * kPlayBufferBytes;
  store.dataSize = 100000000;
  FftViewSources sources{&settings, &store, &playing, &inputOn, &buffers, [] { return 1000; },
                         [](int32_t) { return PlayPosition{kPlayBufferA, 0, true}; }};
  const HDC mainDc = GetDC(main);
  *fft = CreateFftWindow(main, CreateTextFont(mainDc), SW_SHOW, sources);
  ReleaseDC(main, mainDc);
  *window = GetDC(*fft);
  SamplesPerFrame = settings.fftsample / settings.zerofill;
  WindowRebuild = 1;
  FftStatsMode = FftStatsOff = 1;
  FftLatencyMs = 0;
  buffers = 2;
  playing = 1;
  std::atomic<int32_t> restart{1};
  std::thread thread(FftThread, &restart);
  const uint32_t target = Publications() + 40;
  for (int i = 0; i < 3000 && Publications() < target; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  playing = 0;
  thread.join();
}

// A rendered FFT picture is the FFT window's surface, pixel for pixel, for the same samples and
// settings: the default picture of two tones, a smaller transform with another window drawn
// straight into the window, and, with the smoothing in time on, a steady sound whose history has
// settled (the renderer analyses the cycles before the moment, the window ran many).
TEST(RenderViews, FftPictureIsTheFftWindowsSurfaceForTheSameBlock) {
  static const bool registered = [] {
    WNDCLASSA cls{};
    cls.lpfnWndProc = DefWindowProcA;
    cls.lpszClassName = "render test main";
    return RegisterClassA(&cls) != 0;
  }();
  ASSERT_TRUE(registered);
  const auto tones = Wav(2 * kPlayBufferBytes / 4, [](int f) { return Tone(1000, 8000)(f) + Tone(6000, 2000)(f); },
                         Tone(300, 5000));
  const auto steady = Wav(2 * kPlayBufferBytes / 4, [](int) { return 3000; }, [](int) { return -2000; });
  for (const auto& [ini, at, wav, fftsample, wfkind, drawOld, smoothing] :
       {std::tuple{"[fft&sg]\r\nsmoothingfilter=0\r\n", "0", &tones, 2048, 'f', 1, 0},
        {"[fft&sg]\r\nfftsample=1024\r\nwfkind=n\r\nfftdrawold=0\r\nsmoothingfilter=0\r\n", "0", &tones, 1024, 'n', 0, 0},
        {"", "0.5", &steady, 2048, 'f', 1, 2}}) {
    SCOPED_TRACE(ini);
    TempDir dir;
    const std::string settingsFile = dir.Write("morvex.ini", std::string_view(ini));
    const auto result = RunRender(dir, {"--ini", settingsFile, "--at", at, dir.Write("tone.wav", *wav),
                                        (dir.path() / "out").string()});
    ASSERT_EQ(result.exitCode, 0) << result.error;
    const QImage rendered((dir.path() / "out" / ("fft-" + std::string(at) + ".png")).c_str());
    ASSERT_FALSE(rendered.isNull());

    settings.~SettingsRecord();
    new (&settings) SettingsRecord();
    settings.fftsample = fftsample;
    settings.wfkind = wfkind;
    settings.fftdrawold = drawOld;
    settings.smoothingfilter = smoothing;
    std::fill(std::begin(SmoothingHistory), std::end(SmoothingHistory), 0);
    const HWND main = CreateWindowExA(0, "render test main", "main", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                      nullptr, nullptr, nullptr);
    HDC window = nullptr;
    HWND fft = nullptr;
    ProgramFftPicture(*wav, &window, &fft, main);
    const FftWindowSize size = FftWindowClientSize();
    ASSERT_EQ(std::tuple(rendered.width(), rendered.height()), std::tuple(size.width, size.height));
    int differing = 0;
    for (int y = 0; y < size.height; ++y) {
      for (int x = 0; x < size.width; ++x) differing += PixelAt(rendered, x, y) != GetPixel(window, x, y) ? 1 : 0;
    }
    EXPECT_EQ(differing, 0);
    ReleaseDC(fft, window);
    DestroyFftWindow();
    DestroyWindow(main);
  }
}

// Left channel a tone, right channel silent: the vectorscope (right across, left up) is one
// vertical line through the centre, and the waveform (first channel) swings.
TEST(RenderViews, VectorscopeAndWaveformShowTheirChannels) {
  TempDir dir;
  const auto wav = Wav(kRate / 2, Tone(440, 12000), [](int) { return 0; });
  const auto result =
      RunRender(dir, {"--size", "160x120", "--at", "0.1", dir.Write("left.wav", wav), dir.path().string()});
  ASSERT_EQ(result.exitCode, 0) << result.error;
  const QImage scope((dir.path() / "vectorscope-0.1.png").c_str()), wave((dir.path() / "waveform-0.1.png").c_str());
  ASSERT_EQ(std::tuple(scope.width(), scope.height(), wave.width()), std::tuple(160, 120, 160));
  std::set<int> scopeColumns, scopeRows, waveRows;
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 160; ++x) {
      if (PixelAt(scope, x, y) != RGB(255, 255, 255)) scopeColumns.insert(x), scopeRows.insert(y);
      if (PixelAt(wave, x, y) != RGB(255, 255, 255)) waveRows.insert(y);
    }
  }
  EXPECT_EQ(scopeColumns.size(), 1u);
  EXPECT_GT(scopeRows.size(), 40u);
  EXPECT_GT(waveRows.size(), 40u);
}

// First second one tone, next second another, at 10 columns per second and without smoothing in
// time: columns 0 .. 9 show the first band, 10 .. 19 the second, each on the rows the logarithmic scale gives its bin.
TEST(RenderSpectrogram, TwoTonesLieOnTheirRowsInTheirColumns) {
  constexpr int kLow = 24, kHigh = 186;  // bins of the 2048-point transform
  const auto tones = [](int f) { return Tone((f < kRate ? kLow : kHigh) * double(kRate) / 2048, 8000)(f); };
  TempDir dir;
  const std::string ini = dir.Write("morvex.ini", std::string_view("[fft&sg]\r\nsmoothingfilter=0\r\n"));
  const auto result = RunRender(dir, {"--ini", ini, "--size", "300x200", "--columns-per-second", "10",
                                      dir.Write("two.wav", Wav(2 * kRate, tones)), dir.path().string()});
  ASSERT_EQ(result.exitCode, 0) << result.error;
  const QImage picture((dir.path() / "spectrogram.png").c_str());
  ASSERT_EQ(picture.height(), 200);
  const int margin = picture.width() - 20;
  static SgGeometryRecord g;
  ComputeSgGeometry(&g, kRate, 2048, 200);
  const auto lit = [&](int column) {
    std::set<int> rows;
    for (int y = 0; y < 200; ++y) {
      if (PixelAt(picture, margin + column, y) != RGB(0, 0, 0)) rows.insert(200 - y);
    }
    return rows;
  };
  for (const auto& [column, bin] : {std::pair{0, kLow}, {9, kLow}, {10, kHigh}, {19, kHigh}}) {
    SCOPED_TRACE(column);
    const std::set<int> rows = lit(column);
    ASSERT_FALSE(rows.empty());
    EXPECT_TRUE(rows.count(g.binRow[bin]));
    EXPECT_GE(*rows.begin(), g.binRow[bin - 6]);
    EXPECT_LE(*rows.rbegin(), g.binRow[bin + 6]);
  }
}

// The numbers: a header of the bin frequencies at the analysis rate (halved by the settings'
// rate converter), one line per column at its time, the largest level at the bin of the tone.
TEST(RenderSpectrogram, CsvHasTheBinFrequenciesAndTheLevelsAtThem) {
  TempDir dir;
  const std::string ini = dir.Write("morvex.ini", std::string_view("[fft&sg]\r\ndownrateforfft=2\r\n"));
  const auto result = RunRender(dir, {"--ini", ini, "--csv", "--columns-per-second", "10",
                                      dir.Write("tone.wav", Wav(kRate, Tone(93 * 22050.0 / 2048, 8000))),
                                      dir.path().string()});
  ASSERT_EQ(result.exitCode, 0) << result.error;
  std::ifstream csv(dir.path() / "spectrogram.csv");
  std::vector<std::vector<std::string>> lines;
  for (std::string line; std::getline(csv, line);) {
    std::stringstream fields(line);
    lines.emplace_back();
    for (std::string field; std::getline(fields, field, ',');) lines.back().push_back(field);
  }
  ASSERT_EQ(lines.size(), 11u);
  ASSERT_EQ(lines[0].size(), 1026u);
  EXPECT_EQ(lines[0][0], "time");
  for (int k : {0, 1, 93, 1024}) EXPECT_NEAR(std::stod(lines[0][k + 1]), k * 22050.0 / 2048, 0.0005) << k;
  EXPECT_EQ(lines[5][0], "0.400000");
  int peak = 1;
  for (int k = 1; k <= 1025; ++k) peak = std::stol(lines[5][k]) > std::stol(lines[5][peak]) ? k : peak;
  EXPECT_EQ(peak - 1, 93);
}

}  // namespace
