// Sound-to-picture latency of the running program, measured end to end in this process: the
// program plays a WAV of silence with short tone bursts at known sample positions; a sampling
// thread reads the playing device's position (waveOutGetPosition) every millisecond, so the
// moment each burst's first sample is played is found by interpolating between two readings; a
// present observer in the display sees every picture copied for the screen and notes when the
// FFT graph first shows the burst's peak and when the spectrogram's newest columns first show
// its row. Each stage of the way is timed as well: the FFT cycle that first holds the burst
// (its position reading), the FFT and spectrogram pictures reaching their windows' surfaces
// (their drawing calls), and the screen.
//   morvex_latency [bursts]      (with DISPLAY set, or QT_QPA_PLATFORM=offscreen)
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <tuple>
#include <mutex>
#include <optional>
#include <vector>

#include "analysis/fft_window.h"
#include "app/startup.h"
#include "audio/main_display.h"
#include "analysis/spectrum_cycle.h"
#include "audio/playback.h"
#include "platform/display/present_observer.h"
#include "platform/kernel/process_start.h"
#include "platform/user/window_info.h"
#include "platform/win32.h"
#include "shared/sg_control.h"
#include "spectrogram/sg_window.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRate = 44100;
constexpr int kFrameBytes = 4;  // 16-bit stereo
constexpr double kToneHz = 2000.0;
constexpr double kLeadSeconds = 1.5;    // silence before the first burst: the views settle
constexpr double kBurstSeconds = 0.08;
constexpr double kPeriodSeconds = 0.45;  // the spectrogram's newest columns are dark again by the next burst

int64_t BurstFrame(int k) { return static_cast<int64_t>((kLeadSeconds + k * kPeriodSeconds) * kRate); }

void WriteWav(const std::string& path, int bursts) {
  const int64_t frames = BurstFrame(bursts) + kRate;
  std::vector<int16_t> samples(static_cast<size_t>(frames) * 2, 0);
  const auto burstFrames = static_cast<int64_t>(kBurstSeconds * kRate);
  for (int k = 0; k < bursts; ++k) {
    for (int64_t i = 0; i < burstFrames; ++i) {
      const auto value = static_cast<int16_t>(16000.0 * std::sin(2.0 * M_PI * kToneHz * static_cast<double>(i) / kRate));
      samples[static_cast<size_t>(BurstFrame(k) + i) * 2] = value;
      samples[static_cast<size_t>(BurstFrame(k) + i) * 2 + 1] = value;
    }
  }
  std::ofstream out(path, std::ios::binary);
  auto le = [&](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(value >> (8 * i) & 0xFF));
  };
  const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
  out.write("RIFF", 4);
  le(36 + dataBytes, 4);
  out.write("WAVEfmt ", 8);
  le(16, 4);
  le(1, 2);
  le(2, 2);
  le(kRate, 4);
  le(kRate * kFrameBytes, 4);
  le(kFrameBytes, 2);
  le(16, 2);
  out.write("data", 4);
  le(dataBytes, 4);
  out.write(reinterpret_cast<const char*>(samples.data()), static_cast<std::streamsize>(dataBytes));
}

// The device position over time, read by the sampling thread.
struct PositionReading {
  Clock::time_point at;
  int64_t bytes;
};
constexpr size_t kMaxReadings = 200000;
std::vector<PositionReading> readings;
std::atomic<bool> sampling{true};

// When the played position passed `bytes`, interpolated between the readings either side.
std::optional<Clock::time_point> PlayedAt(int64_t bytes) {
  for (size_t i = 1; i < readings.size(); ++i) {
    const PositionReading& before = readings[i - 1];
    const PositionReading& after = readings[i];
    if (before.bytes <= bytes && after.bytes >= bytes && after.bytes > before.bytes) {
      const double share = static_cast<double>(bytes - before.bytes) / static_cast<double>(after.bytes - before.bytes);
      return before.at + std::chrono::duration_cast<Clock::duration>((after.at - before.at) * share);
    }
  }
  return std::nullopt;
}

// What one window shows, as copied for the screen, and the moments it first showed a burst.
struct WatchedWindow {
  explicit WatchedWindow(const char* viewName) : name(viewName) {}
  const char* name;
  std::vector<uint32_t> shown;
  int width = 0;
  int height = 0;
  bool lit = false;               // the burst's mark is on screen now
  std::vector<Clock::time_point> lighted;  // each time it appeared
};
// On screen (as copied for it) and in the window's surface (as the drawing threads left it).
WatchedWindow fftView{"fft screen"};
WatchedWindow sgView{"sg screen"};
WatchedWindow fftSurface{"fft surface"};
WatchedWindow sgSurface{"sg surface"};

bool Ink(uint32_t pixel) { return (pixel & 0xFFFFFFu) == 0; }
bool Bright(uint32_t pixel) {
  return std::max({pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF}) >= 128;
}

double AxisShare() { return std::log10(kToneHz) / std::log10(kRate / 2.0); }

// The FFT graph's curve rises above its baseline near the tone's column.
bool FftShowsTone(const WatchedWindow& view) {
  const int lineHeight = std::max<int>(TextLineHeight.load(), 1);
  const int x = static_cast<int>(view.width * AxisShare());
  for (int y = lineHeight + 2; y < view.height - lineHeight - 3; ++y) {
    for (int dx = -3; dx <= 3; ++dx) {
      if (x + dx >= 0 && x + dx < view.width && Ink(view.shown[static_cast<size_t>(y * view.width + x + dx)])) return true;
    }
  }
  return false;
}

// The spectrogram's newest columns are bright at the tone's row. The four leftmost columns carry
// the scale's marks; the Hz labels are gone after the first wrap, before the first burst.
bool SgShowsTone(const WatchedWindow& view) {
  constexpr int kFirstPictureColumn = 4;
  const int row = view.height - static_cast<int>(view.height * AxisShare());
  const int column = SgControl.column.load();
  for (int x = std::max(column - 3, kFirstPictureColumn); x <= column && x < view.width; ++x) {
    for (int y = std::max(row - 4, 0); y <= std::min(row + 4, view.height - 1); ++y) {
      if (Bright(view.shown[static_cast<size_t>(y * view.width + x)])) return true;
    }
  }
  return false;
}

void Observe(WatchedWindow& view, bool (*showsTone)(const WatchedWindow&), const uint32_t* pixels, int width,
             int height, const RECT* copied, int count) {
  const Clock::time_point now = Clock::now();
  if (view.shown.capacity() == 0) view.shown.reserve(4096 * 4096);
  if (width != view.width || height != view.height) {
    view.width = width;
    view.height = height;
    view.shown.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  }
  for (int i = 0; i < count; ++i) {
    const RECT& r = copied[i];
    for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, height); ++y) {
      const int left = std::max<int>(r.left, 0);
      const int right = std::min<int>(r.right, width);
      if (left < right) std::copy(pixels + y * width + left, pixels + y * width + right, view.shown.begin() + y * width + left);
    }
  }
  const bool lit = showsTone(view);
  if (lit && !view.lit) view.lighted.push_back(now);
  view.lit = lit;
}

void OnPresent(HWND hwnd, const uint32_t* pixels, int width, int height, const RECT* copied, int count) {
  if (hwnd == FftWindowHandle()) Observe(fftView, FftShowsTone, pixels, width, height, copied, count);
  if (hwnd == SgWindowHandle()) Observe(sgView, SgShowsTone, pixels, width, height, copied, count);
}

// Looks at both windows' surfaces every half millisecond: when a drawing thread's picture
// reached the window, before the display copied it for the screen.
void WatchSurfaces() {
  while (sampling.load()) {
    using Shows = bool (*)(const WatchedWindow&);
    for (auto [view, hwnd, shows] : {std::tuple<WatchedWindow*, HWND, Shows>{&fftSurface, FftWindowHandle(), FftShowsTone},
                                     std::tuple<WatchedWindow*, HWND, Shows>{&sgSurface, SgWindowHandle(), SgShowsTone}}) {
      if (!hwnd) continue;
      const auto info = morvex::user::DescribeWindow(hwnd);
      if (!info || !info->surface) continue;
      std::lock_guard lock(info->surface->mutex());
      const RECT all{0, 0, info->surface->width(), info->surface->height()};
      Observe(*view, shows, info->surface->pixels(), all.right, all.bottom, &all, 1);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
}

void SamplePositions(double seconds) {
  while (!WaveOutDevice.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  while (sampling.load() && Clock::now() < end && readings.size() < kMaxReadings) {
    MMTIME time{};
    time.wType = TIME_BYTES;
    const HWAVEOUT device = WaveOutDevice.load();
    const Clock::time_point before = Clock::now();
    if (device && waveOutGetPosition(device, &time, sizeof time) == MMSYSERR_NOERROR) {
      const Clock::time_point after = Clock::now();
      readings.push_back({before + (after - before) / 2, static_cast<int64_t>(time.u.cb)});
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  PostMessageA(MainWindow, WM_CLOSE, 0, 0);
}

struct Figures {
  size_t count = 0;
  double median = 0;
  double p99 = 0;
  double low = 0;
  double high = 0;
};

Figures Summarise(std::vector<double> values) {
  Figures f;
  if (values.empty()) return f;
  std::sort(values.begin(), values.end());
  auto at = [&](double q) { return values[static_cast<size_t>(std::min<double>(std::ceil(q * values.size()) - 1, values.size() - 1))]; };
  f.count = values.size();
  f.median = values.size() % 2 ? values[values.size() / 2] : (values[values.size() / 2 - 1] + values[values.size() / 2]) / 2;
  f.p99 = at(0.99);
  f.low = values.front();
  f.high = values.back();
  return f;
}

// Each burst's latency: the first time the view showed it within a window around the moment it
// was played, less that moment. A view may show a burst before it is heard (the FFT analyses
// the 2048 samples from the play position on); that counts negative. A burst not shown within
// the window is left out (and the count says so).
constexpr double kMatchMs = 150;

std::vector<double> Latencies(const WatchedWindow& view, const std::vector<Clock::time_point>& played) {
  std::vector<double> out;
  for (const Clock::time_point t : played) {
    for (const Clock::time_point seen : view.lighted) {
      const double ms = std::chrono::duration<double, std::milli>(seen - t).count();
      if (ms > -kMatchMs && ms < kMatchMs) {
        out.push_back(ms);
        break;
      }
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const int bursts = argc > 1 ? std::max(std::atoi(argv[1]), 1) : 200;
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "morvex-latency";
  std::filesystem::create_directories(dir);
  const std::string wav = (dir / "bursts.wav").string();
  WriteWav(wav, bursts);
  // Default settings: the program reads and writes morvex.ini beside this tool.
  const std::filesystem::path ini = std::filesystem::path(argv[0]).parent_path() / "morvex.ini";
  std::filesystem::remove(ini);
  readings.reserve(kMaxReadings);
  fftView.lighted.reserve(static_cast<size_t>(bursts) * 4);
  sgView.lighted.reserve(static_cast<size_t>(bursts) * 4);

  std::array<char*, 2> args{argv[0], const_cast<char*>(wav.c_str())};
  morvex::kernel::SetCommandLine(2, args.data());
  morvex::display::SetPresentObserver(OnPresent);
  std::thread sampler(SamplePositions, static_cast<double>(BurstFrame(bursts)) / kRate + 0.5);
  std::thread watcher(WatchSurfaces);
  const int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, morvex::kernel::ArgumentString(), SW_SHOWDEFAULT);
  sampling = false;
  sampler.join();
  watcher.join();
  morvex::display::SetPresentObserver(nullptr);
  std::filesystem::remove(ini);

  std::vector<Clock::time_point> played;
  for (int k = 0; k < bursts; ++k) {
    if (const auto t = PlayedAt(BurstFrame(k) * kFrameBytes)) played.push_back(*t);
  }
  std::printf("bursts played %zu of %d, position readings %zu, exit code %d\n", played.size(), bursts, readings.size(),
              exitCode);
  std::printf("FFT cycle latency (the look-ahead the FFT thread adds to the position): %d ms\n", FftLatencyMs.load());
  for (const WatchedWindow* view : {&fftSurface, &fftView, &sgSurface, &sgView}) {
    const Figures f = Summarise(Latencies(*view, played));
    std::printf("%-12s shown %3zu: median %6.1f ms  p99 %6.1f ms  (min %6.1f, max %6.1f)\n", view->name, f.count,
                f.median, f.p99, f.low, f.high);
  }
  return played.empty() ? 1 : 0;
}
