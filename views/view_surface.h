// The off-screen surface of a view window (vectorscope, waveform), where the view's thread
// composes each picture before one block copy puts it in the window.
//
// The main window makes the drawing context when it creates the view, with a screen-sized bitmap
// when `virtualscreendynamicmemaloc` is 0. Otherwise the view's thread gives it a bitmap of the
// client size, and a new one after each resize.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"

struct ViewSurface {
  std::atomic<HDC> dc{nullptr};
  std::atomic<HBITMAP> bitmap{nullptr};  // the bitmap the surface made and holds selected
};

// User-interface thread, at the view window's creation.
void CreateViewSurface(ViewSurface& surface, HWND window, bool screenSized);
// The view's thread: a bitmap of `width` by `height` compatible with `windowDc` replaces the one
// held, which is deleted. An empty size (a minimized window) keeps the old one: false.
bool ResizeViewSurface(ViewSurface& surface, HDC windowDc, int32_t width, int32_t height);
// User-interface thread, once no thread of the view runs.
void DestroyViewSurface(ViewSurface& surface);
