#include "render/render_surface.h"

#include <QImage>
#include <QString>

#include "analysis/screen_surface.h"

RenderSurface::RenderSurface(int32_t width, int32_t height, HFONT font)
    : width_(width), height_(height), dc_(CreateSurface(nullptr, font, width, height, &bitmap_)) {}

RenderSurface::~RenderSurface() {
  DeleteDC(dc_);
  DeleteObject(bitmap_);
}

bool RenderSurface::Save(const std::string& path) const {
  QImage image(width_, height_, QImage::Format_RGB32);
  for (int32_t y = 0; y < height_; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int32_t x = 0; x < width_; ++x) {
      const COLORREF colour = GetPixel(dc_, x, y);
      line[x] = qRgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
    }
  }
  return image.save(QString::fromLocal8Bit(path.c_str()), "PNG");
}

ClientSize WindowClientSize(int32_t outerWidth, int32_t outerHeight) {
  static const bool registered = [] {
    WNDCLASSA cls{};
    cls.lpfnWndProc = DefWindowProcA;
    cls.lpszClassName = "morvex-render measure";
    return RegisterClassA(&cls) != 0;
  }();
  if (!registered) return {outerWidth, outerHeight};
  const HWND window = CreateWindowExA(0, "morvex-render measure", "", WS_OVERLAPPEDWINDOW, 0, 0, outerWidth,
                                      outerHeight, nullptr, nullptr, nullptr, nullptr);
  RECT client{};
  GetClientRect(window, &client);
  DestroyWindow(window);
  return {client.right, client.bottom};
}
