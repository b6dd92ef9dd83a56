#include "analysis/fft_thread.h"

#include <algorithm>

#include "analysis/fft_arith.h"
#include "analysis/fft_graph.h"
#include "analysis/fft_graph_flags.h"
#include "analysis/fft_picture.h"
#include "analysis/fft_window.h"
#include "analysis/spectrum_cycle.h"
#include "shared/playback_rate.h"
#include "shared/settings.h"

std::atomic<int32_t> FftStopRequest{0};
std::atomic<int32_t> FftSleepNone{0};
std::atomic<int32_t> FftPriorityLevel{0};
std::atomic<DWORD> FftThreadId{0};
std::atomic<HANDLE> FftThreadHandle{nullptr};

namespace {

constexpr DWORD kCreationDelayMs = 100;
constexpr DWORD kFirstBufferPollMs = 1;
constexpr char kWaitingText[] = "      ";
constexpr int kWaitingTextLength = sizeof kWaitingText - 1;
constexpr int kThreadPriorities[] = {THREAD_PRIORITY_NORMAL, THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST};

// What the graph keeps from cycle to cycle and from run to run. One FFT thread at a time uses
// them; the start of the next one is ordered after the end of the last.
FftGraphLayout graphLayout;
FftStatistics statistics;

// Milliseconds as the statistics and the latency take them: the performance counter over its
// ticks per millisecond (the low 32 bits of the frequency / 1000), in single precision. Counted
// from the process's first reading rather than from the counter's origin at boot, so that single
// precision still resolves milliseconds on a machine that has run for days.
class CycleClock {
 public:
  CycleClock() {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    const uint32_t ticks = static_cast<uint32_t>(frequency.QuadPart & 0xFFFFFFFF) / 1000u;
    ticksPerMs_ = static_cast<float>(std::max(ticks, 1u));
  }
  float Now() const { return static_cast<float>(Counter() - Origin()) / ticksPerMs_; }

 private:
  static int64_t Counter() {
    LARGE_INTEGER count{};
    QueryPerformanceCounter(&count);
    return count.QuadPart;
  }
  static int64_t Origin() {
    static const int64_t origin = Counter();
    return origin;
  }
  float ticksPerMs_ = 1.0f;
};

// One run's fixed inputs.
struct FftRun {
  const FftViewSources& sources;
  SpectrumFeed feed;
  FftSurfaces surfaces;
  FftGraphMetrics metrics;
  int32_t fullScale;
  int32_t bytesPerSecond;
  CycleClock clock;
};

bool EndRequested(const FftViewSources& sources) { return sources.playflag->load() == 0 || FftStopRequest != 0; }

// Until the first buffer has gone to the device. Live input plays no buffers; a run that ends
// while waiting (the device never opened) ends the thread.
bool WaitForFirstBuffer(const FftViewSources& sources) {
  while (sources.buff->load() == 0 && sources.inputRunning->load() == 0) {
    if (EndRequested(sources)) return false;
    Sleep(kFirstBufferPollMs);
  }
  return true;
}

void RecordThread() {
  const DWORD id = GetCurrentThreadId();
  FftThreadId = id;
  if (const HANDLE old = FftThreadHandle.exchange(OpenThread(THREAD_SET_INFORMATION | THREAD_QUERY_INFORMATION, FALSE, id))) {
    CloseHandle(old);
  }
}

void DrawPicture(const FftRun& run, const SpectrumCycle& cycle, FftStrategy strategy, FftWindowSize size) {
  const FftPictureFrame picture{run.surfaces, run.metrics, size.width, size.height, run.fullScale, FftStatsMode == 0};
  DrawFftPicture(picture, *run.sources.settings, cycle, strategy, FftRelayout.exchange(0) == 1, &graphLayout,
                 &statistics);
}

void WriteStatistics(const FftRun& run) {
  const int32_t mode = FftStatsMode;
  const int32_t off = FftStatsOff;
  FftPlayPoint point;
  const FftPlayPoint* position = nullptr;
  if (mode == 1 && off != 1 && FftPositionDisplay == 1 && run.sources.inputRunning->load() == 0) {
    const SampleStoreRecord& store = *run.sources.store;
    point.bytes = static_cast<int64_t>(store.seekBase.load()) + run.sources.devicePosition();
    point.bytesPerSecond = run.bytesPerSecond;
    point.durationSeconds = store.durationSeconds;
    position = &point;
  }
  WriteFftStatistics(run.surfaces.back, mode, off, FftLatencyMs, position, &statistics);
}

void SleepAfterCycle(const SettingsRecord& settings) {
  const int32_t pause = settings.fftwindowsleeptime;
  if (pause == 0 && FftSleepNone == 1) return;
  Sleep(static_cast<DWORD>(std::max(pause, 0)));
}

// One analysis cycle. A position that cannot be used yet starts the cycle again at once, only
// yielding the time slice so as not to starve the thread that feeds the device.
void RunCycle(FftRun& run) {
  SpectrumCycle cycle;
  const int32_t position = run.sources.devicePosition();
  switch (LocateSpectrumFrame(run.feed, position, &cycle)) {
    case SpectrumFrame::Waiting:
      TextOutA(run.surfaces.window, 0, 0, kWaitingText, kWaitingTextLength);
      Sleep(0);
      return;
    case SpectrumFrame::Unusable:
      Sleep(0);
      return;
    case SpectrumFrame::Ready:
      break;
  }
  const float cycleStart = run.clock.Now();
  if (!TakeSpectrumBlock(run.feed, cycle, run.sources.playPosition(cycle.ahead))) return;

  const bool timed = FftUpdatesStopped == 0 || FftStatsMode == 1 || FftWideStats == 1;
  const float t0 = timed ? run.clock.Now() : 0.0f;
  TransformSpectrumBlock(cycle);
  if (timed) statistics.timeMs = static_cast<float>((statistics.timeMs + (run.clock.Now() - t0)) * 0.5);
  FinishSpectrum(cycle);

  const SettingsRecord& settings = *run.sources.settings;
  const FftStrategy strategy = FftStrategyOf(settings.fftdrawold, settings.fftdrawline);
  const FftWindowSize size = FftWindowClientSize();
  const bool drawing = FftUpdatesStopped == 0;
  if (drawing) DrawPicture(run, cycle, strategy, size);
  WriteStatistics(run);
  TransferFftPicture(run.surfaces, size.width, size.height, drawing && strategy == FftStrategy::Old, FftStatsOff,
                     FftWideStats, &statistics);

  const float now = run.clock.Now();
  FftLatencyMs = WrapAdd(FftLatencyMs, TruncToInt32(now - cycleStart)) >> 1;
  if (FftStatsOff != 1) {
    statistics.previousEnd = statistics.lastEnd;
    statistics.lastEnd = now;
  }
  SleepAfterCycle(settings);
}

}  // namespace

void FftThread(std::atomic<int32_t>* restart) {
  const FftViewSources* sources = FftWindowSources();
  const HWND hwnd = FftWindowHandle();
  if (!sources || !hwnd) return;
  // A new source: the axes are laid out again for its size and rate.
  FftRelayout = 1;
  RecordThread();
  const SampleStoreRecord& store = *sources->store;
  FftRun run{*sources,
             MakeSpectrumFeed(*sources->store, *sources->settings, *sources->playflag, *sources->inputRunning),
             {nullptr, FftBackSurface, FftGridSurface},
             FftWindowMetrics(),
             store.fullScale,
             static_cast<int32_t>(PlaybackBytesPerSecond(store.format)),
             CycleClock()};
  if (restart->load() == 0) Sleep(kCreationDelayMs);
  if (WaitForFirstBuffer(*sources)) {
    run.surfaces.window = GetDC(hwnd);
    while (!EndRequested(*sources)) RunCycle(run);
    ReleaseDC(hwnd, run.surfaces.window);
  }
  FftStopRequest = 0;
}

bool FftThreadWanted(ViewStart) { return true; }

bool SetFftThreadPriority(int32_t level) {
  if (level < 0 || level > 2) return false;
  FftPriorityLevel = level;
  const HANDLE thread = FftThreadHandle;
  return thread && SetThreadPriority(thread, kThreadPriorities[level]) != 0;
}
