// The statistics line and the transfer of the picture to the window.
#include <cstdio>

#include "analysis/fft_arith.h"
#include "analysis/fft_graph.h"

namespace {
constexpr int32_t kPositionX = 50;
constexpr int32_t kStatsHeight = 20;
constexpr int32_t kStatsWidth = 40;
constexpr int32_t kWideStatsWidth = 280;
}  // namespace

void WriteFftStatistics(HDC back, int32_t mode, int32_t off, int32_t latencyMs, const FftPlayPoint* position,
                        FftStatistics* stats) {
  char text[128];
  const float interval = stats->lastEnd - stats->previousEnd;
  if (mode != 1) {
    const int length =
        std::snprintf(text, sizeof text, "interval%03.1fms fftcaltime%2.1fms fftlatency%3dms(avg) ",
                      static_cast<double>(interval), static_cast<double>(stats->timeMs), latencyMs);
    TextOutA(back, 0, 0, text, length);
    return;
  }
  if (off == 1) return;
  // Two cycles that ended within the clock's resolution give no rate; the average keeps its value.
  if (interval > 0.0f) stats->fps = TruncToInt32(stats->fps + 1000.0 / interval) >> 1;
  int length = std::snprintf(text, sizeof text, "fps%4d  ", stats->fps);
  TextOutA(back, 0, 0, text, length);
  if (!position) return;
  const int64_t seconds = position->bytesPerSecond > 0 ? position->bytes / position->bytesPerSecond : 0;
  length = std::snprintf(text, sizeof text, "%llds/%.2fs  ", static_cast<long long>(seconds),
                         static_cast<double>(position->durationSeconds));
  TextOutA(back, kPositionX, 0, text, length);
}

void TransferFftPicture(const FftSurfaces& surfaces, int32_t width, int32_t height, bool wholePicture, int32_t off,
                        int32_t wide, FftStatistics* stats) {
  if (!wholePicture && off == 1) return;
  const DWORD start = timeGetTime();
  if (wholePicture) {
    BitBlt(surfaces.window, 0, 0, width, height, surfaces.back, 0, 0, SRCCOPY);
  } else {
    BitBlt(surfaces.window, 0, 0, wide == 1 ? kWideStatsWidth : kStatsWidth, kStatsHeight, surfaces.back, 0, 0,
           SRCCOPY);
  }
  stats->blitMs = static_cast<int32_t>(timeGetTime() - start);
}
