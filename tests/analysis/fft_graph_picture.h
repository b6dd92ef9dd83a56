// In-memory drawing surfaces for the FFT graph and window tests, and pixel comparisons.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"

namespace fftpicture {

inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kGrid = RGB(191, 191, 255);

// A white memory surface of its own size with the default font.
class Picture {
 public:
  Picture(int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(dc_, width, height);
    SelectObject(dc_, bitmap_);
    Rectangle(dc_, -1, -1, width + 1, height + 1);
  }
  ~Picture() {
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }

  int count(COLORREF colour) const {
    int found = 0;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) found += at(x, y) == colour ? 1 : 0;
    }
    return found;
  }

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
};

// Whether the w × h blocks at (x, y) of `got` and (refX, refY) of `want` are equal.
inline ::testing::AssertionResult SameBlock(HDC got, int x, int y, HDC want, int refX, int refY, int w, int h) {
  for (int row = 0; row < h; ++row) {
    for (int column = 0; column < w; ++column) {
      const COLORREF a = GetPixel(got, x + column, y + row);
      const COLORREF b = GetPixel(want, refX + column, refY + row);
      if (a != b) {
        return ::testing::AssertionFailure() << "pixel (" << x + column << ", " << y + row << ") is " << std::hex << a
                                             << ", expected " << b;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult SamePicture(const Picture& got, const Picture& want) {
  return SameBlock(got.dc(), 0, 0, want.dc(), 0, 0, want.width(), want.height());
}

// `text` drawn at (0, 0) of its own surface, black on white, in the default font.
class TextImage {
 public:
  explicit TextImage(const std::string& text) : picture_(Extent(text).cx, Extent(text).cy) {
    size_ = Extent(text);
    TextOutA(picture_.dc(), 0, 0, text.data(), static_cast<int>(text.size()));
  }
  HDC dc() const { return picture_.dc(); }
  int width() const { return size_.cx; }
  int height() const { return size_.cy; }

 private:
  static SIZE Extent(const std::string& text) {
    const HDC dc = CreateCompatibleDC(nullptr);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    DeleteDC(dc);
    return size;
  }
  Picture picture_;
  SIZE size_{};
};

}  // namespace fftpicture
