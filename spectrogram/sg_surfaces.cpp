#include "spectrogram/sg_surfaces.h"

#include "analysis/screen_surface.h"

std::atomic<HDC> SgBackSurface{nullptr};
std::atomic<HDC> SgScaleSurface{nullptr};

namespace {

// Set on the user-interface thread before the surfaces are published; the thread reads them
// only after it has seen the surfaces.
struct SurfaceState {
  HBITMAP backBitmap = nullptr;
  HBITMAP scaleBitmap = nullptr;
  HFONT font = nullptr;
  SgTextMetrics metrics;
};
SurfaceState state;

}  // namespace

void CreateSgSurfaces(HWND window, HFONT font) {
  const HDC windowDc = GetDC(window);
  const HDC back = CreateScreenSurface(windowDc, font, &state.backBitmap);
  const HDC scale = CreateScreenSurface(windowDc, font, &state.scaleBitmap);
  ReleaseDC(window, windowDc);
  state.metrics = MeasureSgTextMetrics(back);
  state.font = font;
  SgBackSurface = back;
  SgScaleSurface = scale;
}

void DestroySgSurfaces() {
  if (const HDC back = SgBackSurface.exchange(nullptr)) DeleteDC(back);
  if (const HDC scale = SgScaleSurface.exchange(nullptr)) DeleteDC(scale);
  DeleteObject(state.backBitmap);
  DeleteObject(state.scaleBitmap);
  state = SurfaceState{};
}

SgTextMetrics SgSurfaceMetrics() { return state.metrics; }

HFONT SgTextFont() { return state.font; }

SgTextMetrics MeasureSgTextMetrics(HDC dc) {
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  return {metrics.tmHeight, metrics.tmHeight + metrics.tmExternalLeading, metrics.tmAveCharWidth};
}
