// The memory surfaces the renderer draws into in place of windows, and their way out as PNG.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32.h"

// A white surface of `width` by `height` with `font` (none keeps the default font), as the
// program's off-screen surfaces are made.
class RenderSurface {
 public:
  RenderSurface(int32_t width, int32_t height, HFONT font = nullptr);
  ~RenderSurface();
  RenderSurface(const RenderSurface&) = delete;
  RenderSurface& operator=(const RenderSurface&) = delete;

  HDC dc() const { return dc_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  // Writes the pixels as a PNG file; false when it cannot be written.
  bool Save(const std::string& path) const;

 private:
  int32_t width_;
  int32_t height_;
  HBITMAP bitmap_ = nullptr;
  HDC dc_;
};

struct ClientSize {
  int32_t width;
  int32_t height;
};

// The client area of a top-level window of this outer size, by the platform's own frame and
// smallest window.
ClientSize WindowClientSize(int32_t outerWidth, int32_t outerHeight);
