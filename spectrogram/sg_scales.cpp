#include "spectrogram/sg_scales.h"

#include <cstdio>

namespace {

void Tick(HDC surface, int32_t height, int32_t row) {
  for (int x = 1; x <= 3; ++x) SetPixel(surface, x, height - row, kSgTickColour);
}

void Label(HDC surface, int32_t y, const char* format, int32_t value) {
  char text[16];
  const int length = std::snprintf(text, sizeof text, format, value);
  TextOutA(surface, 0, y, text, length);
}

void LogLabel(HDC surface, const SgGeometryRecord& g, int32_t charHeight, int32_t f) {
  const int32_t y = g.height - TruncRow(LogRowExact(g, f) + charHeight / 2);
  if (f <= 100) {
    Label(surface, y, "%d", f);
  } else {
    Label(surface, y, "%dk", f / 1000);
  }
}

}  // namespace

void DrawTickMarks(HDC surface, const SgGeometryRecord& g, bool linear) {
  const float nyquist = g.nyquist;
  if (linear) {
    for (int32_t f = 1000; f < nyquist; f += 1000) Tick(surface, g.height, LinearRow(g, f));
    return;
  }
  for (int32_t f = 10; f <= 100; f += 10) Tick(surface, g.height, LogRow(g, f));
  for (int32_t f = 100; f <= 1000; f += 100) Tick(surface, g.height, LogRow(g, f));
  for (int32_t f = 1000; f < nyquist && f <= 10000; f += 1000) Tick(surface, g.height, LogRow(g, f));
  for (int32_t f = 10000; f < nyquist; f += 10000) Tick(surface, g.height, LogRow(g, f));
}

void DrawLogLabels(HDC surface, const SgGeometryRecord& g, int32_t charHeight) {
  for (int32_t f = 10; f < g.nyquist && f <= 10000; f *= 10) LogLabel(surface, g, charHeight, f);
  for (int32_t f = 20000; f < g.nyquist; f += 10000) LogLabel(surface, g, charHeight, f);
}

void DrawLinearLabels(HDC surface, const SgGeometryRecord& g, int32_t charHeight) {
  for (int32_t f = 5000; f < g.nyquist; f += 5000) {
    Label(surface, g.height - TruncRow(LinearRowExact(g, f) + charHeight / 2), "%dk", f / 1000);
  }
}

void DrawCMarks(HDC surface, const SgGeometryRecord& g, int32_t rate) {
  for (float f = 2.0439497f; f < static_cast<float>(rate); f *= 2.0f) {
    SetPixel(surface, 5, g.height - LogRow(g, f), kSgCMarkColour);
  }
}

void DrawFftPointMarks(HDC surface, const SgGeometryRecord& g, COLORREF colour) {
  for (int32_t i = 0; i < g.binCount; ++i) SetPixel(surface, 0, g.height - g.binRow[i], colour);
}

void StampScaleLayer(HDC picture, HDC layer, int32_t height, int32_t sgcolor) {
  BitBlt(picture, 0, 0, 4, height, layer, 0, 0, sgcolor == 0 ? SRCAND : SRCPAINT);
}
