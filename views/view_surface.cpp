#include "views/view_surface.h"

void CreateViewSurface(ViewSurface& surface, HWND window, bool screenSized) {
  const HDC windowDc = GetDC(window);
  const HDC dc = CreateCompatibleDC(windowDc);
  if (screenSized) {
    const HBITMAP bitmap = CreateCompatibleBitmap(windowDc, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    SelectObject(dc, bitmap);
    surface.bitmap = bitmap;
  }
  ReleaseDC(window, windowDc);
  surface.dc = dc;
}

bool ResizeViewSurface(ViewSurface& surface, HDC windowDc, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return false;
  const HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
  if (!bitmap) return false;
  SelectObject(surface.dc, bitmap);
  if (const HBITMAP old = surface.bitmap.exchange(bitmap)) DeleteObject(old);
  return true;
}

void DestroyViewSurface(ViewSurface& surface) {
  if (const HDC dc = surface.dc.exchange(nullptr)) DeleteDC(dc);
  if (const HBITMAP bitmap = surface.bitmap.exchange(nullptr)) DeleteObject(bitmap);
}
