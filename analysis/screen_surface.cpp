#include "analysis/screen_surface.h"

HDC CreateScreenSurface(HDC windowDc, HFONT font, HBITMAP* bitmap) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const HDC dc = CreateCompatibleDC(windowDc);
  *bitmap = CreateCompatibleBitmap(windowDc, width, height);
  SelectObject(dc, *bitmap);
  if (font) SelectObject(dc, font);
  Rectangle(dc, -1, -1, width + 1, height + 1);
  return dc;
}
