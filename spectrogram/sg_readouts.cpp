#include "spectrogram/sg_readouts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "shared/settings.h"
#include "shared/sg_control.h"
#include "spectrogram/sg_note_name.h"

namespace {

// Kept from one thread run to the next; 0 when the program starts.
float ticksPerMs = 0.0f;
int32_t lastTime = 0;
int32_t smoothedInterval = 0;

int64_t Counter() {
  LARGE_INTEGER count{};
  QueryPerformanceCounter(&count);
  return count.QuadPart;
}

// Counted from the process's first reading rather than from the counter's origin at boot, so
// that single precision still resolves milliseconds on a machine that has run for days.
int64_t CounterSinceStart() {
  static const int64_t origin = Counter();
  return Counter() - origin;
}

void Write(HDC dc, int x, int y, const char* text, int length) {
  if (length > 0) TextOutA(dc, x, y, text, length);
}

void WriteColumnRate(const SgReadoutFrame& f) {
  if (ticksPerMs == 0.0f) StartReadoutClock();
  const float now = ticksPerMs > 0.0f ? static_cast<float>(CounterSinceStart()) / ticksPerMs : 0.0f;
  smoothedInterval = SmoothColumnInterval(smoothedInterval, now - static_cast<float>(lastTime));
  char text[32];
  const int length = std::snprintf(text, sizeof text, " lps%3d  ", ColumnsPerSecond(smoothedInterval));
  Write(f.window, 0, f.height - f.metrics.lineHeight, text, length);
  lastTime = static_cast<int32_t>(now);
}

void WriteCursorFrequency(const SgReadoutFrame& f) {
  const int32_t row = SgControl.cursorRow;
  const int x = f.width - 16 * f.metrics.charWidth;
  const int y = f.height - f.metrics.lineHeight;
  char text[48];
  if (row == -1) {
    Write(f.window, x, y, "                ", 16);
  } else if (Settings.sgliner == 0) {
    const int32_t hz = FrequencyAtRow(f.geometry->nyquist, f.geometry->logNyquist, f.height, row);
    Write(f.window, x, y, text, std::snprintf(text, sizeof text, "%dhz(%s)     ", hz, NoteName(hz)));
  }
}

void DrawUnderline(const SgReadoutFrame& f) {
  MoveToEx(f.window, 0, f.height - 1, nullptr);
  LineTo(f.window, f.column, f.height - 1);
}

void WritePeak(const SgReadoutFrame& f) {
  const int32_t bin = PeakBin(f.bins, f.fftsample / 2);
  const int32_t hz = f.fftsample > 0 ? static_cast<int32_t>(static_cast<int64_t>(f.rate) * bin / f.fftsample) : 0;
  char text[48];
  const int length = std::snprintf(text, sizeof text, "peak%5dhz(%s)   ", hz, NoteName(hz));
  Write(f.window, f.width - 18 * f.metrics.charWidth, 0, text, length);
}

}  // namespace

void StartReadoutClock() {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  ticksPerMs = static_cast<float>(static_cast<uint32_t>(frequency.QuadPart & 0xFFFFFFFF) / 1000u);
}

int32_t SmoothColumnInterval(int32_t interval, float delta) {
  const double sum = std::trunc(static_cast<double>(interval) + static_cast<double>(delta));
  return static_cast<int32_t>(std::clamp(sum, -2147483648.0, 2147483647.0)) >> 1;
}

int32_t ColumnsPerSecond(int32_t interval) { return interval == 0 ? 0 : static_cast<int32_t>(1000.0 / interval); }

int32_t PeakBin(const int32_t* bins, int32_t count) {
  int32_t peak = 0;
  for (int32_t i = 0; i < count; ++i) {
    if (bins[peak] < bins[i]) peak = i;
  }
  return peak;
}

void WriteReadouts(const SgReadoutFrame& f) {
  const bool columnRate = Settings.sgwindowlps == 1;
  const bool cursor = Settings.sgmousecurhzdis == 1;
  if (columnRate) WriteColumnRate(f);
  if (cursor) WriteCursorFrequency(f);
  if (Settings.sgunderline == 1 && (cursor || columnRate)) DrawUnderline(f);
  if (Settings.sgpeakshow == 1) WritePeak(f);
}
