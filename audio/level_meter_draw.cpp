#include "audio/level_meter_draw.h"

#include <mutex>

#include "audio/level_meter.h"

namespace {

// Held only for the two calls of one line.
std::mutex lineLock;

void DrawLine(HDC dc, int x0, int y0, int x1, int y1) {
  std::lock_guard lock(lineLock);
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

}  // namespace

void DrawLevelBar(HDC dc, int32_t units) {
  DrawLine(dc, kLevelBarLeft, kLevelBarY, kLevelBarLeft + kLevelBarUnit * units, kLevelBarY);
}

void DrawZeroDecibelLine(HDC dc, int32_t bitsPerSample) {
  const int x = ZeroDecibelX(bitsPerSample);
  DrawLine(dc, x, 67, x, 60);
}
