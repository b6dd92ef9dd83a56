#include "analysis/screen_surface.h"

HDC CreateScreenSurface(HDC windowDc, HFONT font, HBITMAP* bitmap) {
  return CreateSurface(windowDc, font, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), bitmap);
}

HDC CreateSurface(HDC windowDc, HFONT font, int width, int height, HBITMAP* bitmap) {
  const HDC dc = CreateCompatibleDC(windowDc);
  *bitmap = CreateCompatibleBitmap(windowDc, width, height);
  SelectObject(dc, *bitmap);
  if (font) SelectObject(dc, font);
  Rectangle(dc, -1, -1, width + 1, height + 1);
  return dc;
}

HFONT CreateTextFont(HDC dc) {
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  LOGFONTA description{};
  description.lfHeight = static_cast<LONG>(metrics.tmHeight * 0.8);  // truncated
  return CreateFontIndirectA(&description);
}
