// morvex-render run as a user would: its pictures and numbers against the program's own windows
// and scales, and its command line.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "analysis/fft_graph_flags.h"
#include "analysis/fft_thread.h"
#include "analysis/fft_window.h"
#include "analysis/screen_surface.h"
#include "analysis/spectrum_cycle.h"
#include "analysis/spectrum_filters.h"
#include "analysis/window_function.h"
#include "shared/shared_spectrum.h"
#include "shared/spectrum_frame.h"
#include "spectrogram/sg_geometry.h"
#include "support/temp_dir.h"
#include "support/wav_bytes.h"

namespace {

using test_support::TempDir;

constexpr int kRate = 44100;

struct RenderResult {
  int exitCode = -1;
  std::string out, error;  // standard output and standard error
};

RenderResult RunRender(const TempDir& dir, std::vector<std::string> arguments) {
  const std::string out = (dir.path() / "stdout.txt").string(), error = (dir.path() / "stderr.txt").string();
  if (fork() == 0) {
    dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    dup2(open(error.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    std::vector<char*> argv{const_cast<char*>(MORVEX_RENDER)};
    for (auto& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(MORVEX_RENDER, argv.data());
    _exit(127);
  }
  int status = 0;
  wait(&status);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test_support::ReadFileBytes(out),
          test_support::ReadFileBytes(error)};
}

COLORREF PixelAt(const QImage& image, int x, int y) {
  const QRgb rgb = image.pixel(x, y);
  return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

// 16-bit frames at 44.1 kHz: channel c of frame f is channels[c](f).
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

// What morvex-render writes for these arguments (the sound file and the folder last).
QImage Rendered(const TempDir& dir, std::vector<std::string> args, const test_support::Bytes& wav, const char* name) {
  args.push_back(dir.Write("sound.wav", wav));
  args.push_back(dir.path().string());
  const auto result = RunRender(dir, args);
  EXPECT_EQ(result.exitCode, 0) << result.error;
  return QImage((dir.path() / name).c_str());
}

SettingsRecord settings;
SampleStoreRecord store;
std::atomic<int32_t> playing{0}, inputOn{0}, buffers{0};

uint32_t Publications() {
  return (SharedSpectrum.slots[0].sequence.load() + SharedSpectrum.slots[1].sequence.load()) / 2;
}

// Whether the FFT window's client surface, after its thread analysed the start of `wav` (stereo)
// over and over (the smoothing in time settles), statistics off, is `rendered`.
::testing::AssertionResult IsFftWindowPicture(const QImage& rendered, const test_support::Bytes& wav) {
  std::copy_n(wav.begin() + 44, kPlayBufferBytes, store.bufferA);
  std::copy_n(wav.begin() + 44 + kPlayBufferBytes, kPlayBufferBytes, store.bufferB);
  store.format = WAVEFORMATEX{WAVE_FORMAT_PCM, 2, kRate, kRate * 4, 4, 16, 0};
  store.fileRate = store.analysisRate = kRate;
  store.blockAlign = 4;
  store.fullScale = 1 << 16;
  store.lastWritten = kPlayBufferB;
  store.writtenEnd = 2 * kPlayBufferBytes;
  store.dataSize = 100000000;
  static const bool registered = [] {
    WNDCLASSA cls{};
    cls.lpfnWndProc = DefWindowProcA;
    cls.lpszClassName = "render test main";
    return RegisterClassA(&cls) != 0;
  }();
  if (!registered) return ::testing::AssertionFailure() << "no window class";
  const HWND main = CreateWindowExA(0, "render test main", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                    nullptr, nullptr);
  const HDC mainDc = GetDC(main);
  const HWND fft = CreateFftWindow(main, CreateTextFont(mainDc), SW_SHOW,
                                   {&settings, &store, &playing, &inputOn, &buffers, [] { return 1000; },
                                    [](int32_t) { return PlayPosition{kPlayBufferA, 0, true}; }});
  SamplesPerFrame = settings.fftsample / settings.zerofill;
  WindowRebuild = FftStatsMode = FftStatsOff = buffers = playing = 1;
  std::fill(std::begin(SmoothingHistory), std::end(SmoothingHistory), 0);
  std::atomic<int32_t> restart{1};
  std::thread thread(FftThread, &restart);
  for (int i = 0, target = Publications() + 40; i < 5000 && Publications() < uint32_t(target); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  playing = 0;
  thread.join();
  const HDC window = GetDC(fft);
  const FftWindowSize size = FftWindowClientSize();
  int differing = rendered.size() == QSize(size.width, size.height) ? 0 : -1;
  for (int y = 0; differing >= 0 && y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) differing += PixelAt(rendered, x, y) != GetPixel(window, x, y) ? 1 : 0;
  }
  ReleaseDC(fft, window);
  ReleaseDC(main, mainDc);
  DestroyFftWindow();
  DestroyWindow(main);
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << (differing < 0 ? "another size" : std::to_string(differing) + " pixels differ");
}

// The same samples and settings give the FFT window's picture: two tones by default, a smaller
// transform with another window drawn straight into the window, and a steady sound with the
// smoothing in time on (the renderer runs the cycles before the moment, the window ran many).
TEST(RenderViews, FftPictureIsTheFftWindowsSurfaceForTheSameBlock) {
  const auto tones = Wav(kPlayBufferBytes / 2, [](int f) { return Tone(1000, 8000)(f) + Tone(6000, 2000)(f); },
                         Tone(300, 5000));
  const auto steady = Wav(kPlayBufferBytes / 2, [](int) { return 3000; }, [](int) { return -2000; });
  for (const auto& [ini, at, wav, fftsample, wfkind, drawOld, smoothing] :
       {std::tuple{"smoothingfilter=0\n", "0", &tones, 2048, 'f', 1, 0},
        {"fftsample=1024\nwfkind=n\nfftdrawold=0\nsmoothingfilter=0\n", "0", &tones, 1024, 'n', 0, 0},
        {"", "0.5", &steady, 2048, 'f', 1, 2}}) {
    SCOPED_TRACE(ini);
    TempDir dir;
    const QImage rendered = Rendered(dir, {"--ini", dir.Write("morvex.ini", "[fft&sg]\n" + std::string(ini)), "--at", at},
                                     *wav, ("fft-" + std::string(at) + ".png").c_str());
    settings.~SettingsRecord();
    new (&settings) SettingsRecord();
    settings.fftsample = fftsample;
    settings.wfkind = wfkind;
    settings.fftdrawold = drawOld;
    settings.smoothingfilter = smoothing;
    EXPECT_TRUE(IsFftWindowPicture(rendered, *wav));
  }
}

// Left channel a tone, right channel silent: the vectorscope (right across, left up) is one
// vertical line, and the waveform (first channel) swings.
TEST(RenderViews, VectorscopeAndWaveformShowTheirChannels) {
  TempDir dir;
  const auto wav = Wav(kRate / 2, Tone(440, 12000), [](int) { return 0; });
  const QImage scope = Rendered(dir, {"--size", "160x120", "--at", "0.1"}, wav, "vectorscope-0.1.png");
  const QImage wave((dir.path() / "waveform-0.1.png").c_str());
  std::set<int> scopeColumns, scopeRows, waveRows;
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 160; ++x) {
      if (PixelAt(scope, x, y) != RGB(255, 255, 255)) scopeColumns.insert(x), scopeRows.insert(y);
      if (PixelAt(wave, x, y) != RGB(255, 255, 255)) waveRows.insert(y);
    }
  }
  EXPECT_EQ(std::tuple(scopeColumns.size(), scopeRows.size() > 40, waveRows.size() > 40), std::tuple(1u, true, true));
}

// One tone for a second, another for the next, 10 columns a second, no smoothing in time:
// columns 0 .. 9 show the first band, 10 .. 19 the second, on the rows the scale gives its bin.
TEST(RenderSpectrogram, TwoTonesLieOnTheirRowsInTheirColumns) {
  constexpr int kLow = 24, kHigh = 186;  // bins of the 2048-point transform
  const auto tones = [](int f) { return Tone((f < kRate ? kLow : kHigh) * double(kRate) / 2048, 8000)(f); };
  TempDir dir;
  const QImage picture = Rendered(dir, {"--ini", dir.Write("morvex.ini", "[fft&sg]\nsmoothingfilter=0\n"), "--size",
                                        "300x200", "--columns-per-second", "10"},
                                  Wav(2 * kRate, tones), "spectrogram.png");
  ASSERT_EQ(picture.height(), 200);
  static SgGeometryRecord g;
  ComputeSgGeometry(&g, kRate, 2048, 200);
  for (const auto& [column, bin] : {std::pair{0, kLow}, {9, kLow}, {10, kHigh}, {19, kHigh}}) {
    std::set<int> rows;  // lit, counted up from the bottom
    for (int y = 0; y < 200; ++y) {
      if (PixelAt(picture, picture.width() - 20 + column, y) != RGB(0, 0, 0)) rows.insert(200 - y);
    }
    ASSERT_FALSE(rows.empty()) << column;
    EXPECT_TRUE(rows.count(g.binRow[bin]) && *rows.begin() >= g.binRow[bin - 6] && *rows.rbegin() <= g.binRow[bin + 6])
        << column;
  }
}

// The numbers: a header of the bin frequencies at the analysis rate (halved by the settings'
// rate converter), one line per column at its time, the largest level at the bin of the tone.
TEST(RenderSpectrogram, CsvHasTheBinFrequenciesAndTheLevelsAtThem) {
  TempDir dir;
  Rendered(dir, {"--ini", dir.Write("morvex.ini", "[fft&sg]\ndownrateforfft=2\n"), "--csv", "--columns-per-second", "10"},
           Wav(kRate, Tone(93 * 22050.0 / 2048, 8000)), "spectrogram.png");
  std::ifstream csv(dir.path() / "spectrogram.csv");
  std::vector<std::vector<std::string>> lines;
  for (std::string line; std::getline(csv, line);) {
    std::stringstream fields(line);
    lines.emplace_back();
    for (std::string field; std::getline(fields, field, ',');) lines.back().push_back(field);
  }
  ASSERT_EQ(std::tuple(lines.size(), lines[0].size(), lines[0][0], lines[5][0]),
            std::tuple(11u, 1026u, "time", "0.400000"));
  for (int k : {0, 1, 93, 1024}) EXPECT_NEAR(std::stod(lines[0][k + 1]), k * 22050.0 / 2048, 0.0005) << k;
  int peak = 1;
  for (int k = 1; k <= 1025; ++k) peak = std::stol(lines[5][k]) > std::stol(lines[5][peak]) ? k : peak;
  EXPECT_EQ(peak - 1, 93);
}

TEST(RenderCommandLine, AnswersAndRefusalsGetTheirTextsAndExitCodes) {
  TempDir dir;
  test_support::FmtFields mono;
  mono.channels = 1;
  const std::string wav = dir.Write("quiet.wav", test_support::CanonicalWav(mono, test_support::Bytes(44100 * 2)));
  const std::string noise = dir.Write("noise.wav", std::string_view("\x13\x37 not a sound at all"));
  const std::string out = (dir.path() / "out").string();
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string text;  // on standard output with 0, else on standard error
  };
  const Case cases[] = {
      {{"--help"}, 0, "usage: morvex-render [options] FILE OUTDIR\n"},
      {{"--version"}, 0, "morvex-render " MORVEX_VERSION "\n"},
      {{}, 2, "FILE and OUTDIR are needed"},
      {{wav, out, "extra"}, 2, "more than FILE and OUTDIR given"},
      {{"--bogus", wav, out}, 2, "unknown option '--bogus'"},
      {{"--size", "0x10", wav, out}, 2, "--size wants WIDTHxHEIGHT"},
      {{"--size=640", wav, out}, 2, "--size wants WIDTHxHEIGHT"},
      {{"--at", "-1", wav, out}, 2, "--at wants seconds"},
      {{"--columns-per-second", "fast", wav, out}, 2, "--columns-per-second wants a number"},
      {{wav, out, "--at"}, 2, "--at needs a value"},
      {{"--ini", (dir.path() / "none.ini").string(), wav, out}, 2, "cannot read the settings file"},
      {{"--at", "1", wav, out}, 2, "--at 1 lies beyond the end of the sound (1.000 s)"},
      {{noise, out}, 1, "not a RIFF file."},
      {{(dir.path() / "missing.wav").string(), out}, 1, "dont open wavfile("},
      {{wav, noise}, 1, "cannot make the folder"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto result = RunRender(dir, c.args);
    EXPECT_EQ(result.exitCode, c.exitCode);
    EXPECT_NE((c.exitCode == 0 ? result.out : result.error).find(c.text), std::string::npos) << result.error;
    EXPECT_EQ(result.error.find("usage: morvex-render") != std::string::npos, c.exitCode == 2) << result.error;
  }
  EXPECT_FALSE(std::filesystem::exists(out));
  const auto done = RunRender(dir, {"--", wav, out});
  EXPECT_EQ(done.exitCode, 0) << done.error;
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "out" / "spectrogram.png"));
}

}  // namespace
