// In-memory drawing surfaces for the view tests, and pixel comparisons against text drawn apart.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "platform/win32.h"

namespace test_support {

inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);

// Pixels of `dc` in the block that are not white.
inline int InkIn(HDC dc, int left, int top, int right, int bottom) {
  int ink = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) ink += GetPixel(dc, x, y) != kWhite ? 1 : 0;
  }
  return ink;
}

// Whether the w × h blocks at (x, y) of `got` and (refX, refY) of `want` are equal.
inline ::testing::AssertionResult SameBlock(HDC got, int x, int y, HDC want, int refX, int refY, int w, int h) {
  for (int row = 0; row < h; ++row) {
    for (int column = 0; column < w; ++column) {
      const COLORREF a = GetPixel(got, x + column, y + row), b = GetPixel(want, refX + column, refY + row);
      if (a != b) {
        return ::testing::AssertionFailure() << "pixel (" << x + column << ", " << y + row << ") is " << std::hex << a
                                             << ", expected " << b;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// A memory surface with the default font, white or filled with `fill`.
class Picture {
 public:
  Picture(int width, int height, COLORREF fill = kWhite)
      : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)),
        bitmap_(CreateCompatibleBitmap(dc_, width, height)), brush_(CreateSolidBrush(fill)) {
    SelectObject(dc_, bitmap_);
    const HGDIOBJ brush = SelectObject(dc_, brush_), pen = SelectObject(dc_, GetStockObject(NULL_PEN));
    Rectangle(dc_, -1, -1, width + 2, height + 2);
    SelectObject(dc_, brush);
    SelectObject(dc_, pen);
  }
  ~Picture() {
    DeleteDC(dc_);
    DeleteObject(bitmap_);
    DeleteObject(brush_);
  }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  HDC dc() const { return dc_; }
  COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }
  int count(COLORREF colour) const {
    int found = 0;
    for (int x = 0; x < width_; ++x) found += static_cast<int>(rowsOf(x, colour).size());
    return found;
  }
  ::testing::AssertionResult same(const Picture& want) const {
    return SameBlock(dc_, 0, 0, want.dc(), 0, 0, want.width_, want.height_);
  }
  // The rows y of column x (above `below`, by default all) that hold `colour`.
  std::set<int> rowsOf(int x, COLORREF colour, int below = -1) const {
    std::set<int> rows;
    for (int y = 0; y < (below < 0 ? height_ : below); ++y) {
      if (at(x, y) == colour) rows.insert(y);
    }
    return rows;
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HBRUSH brush_;
};

// `text` drawn black on white at (0, 0) of its own surface, in `font` (the default without one).
class TextImage {
 public:
  explicit TextImage(const std::string& text, HFONT font = nullptr)
      : size_(Extent(text, font)), picture_(size_.cx, size_.cy) {
    if (font) SelectObject(picture_.dc(), font);
    TextOutA(picture_.dc(), 0, 0, text.data(), static_cast<int>(text.size()));
  }
  int width() const { return size_.cx; }
  // Whether the text appears with its cell's top left at (x, y) of `target`, as far as
  // `maxWidth` columns, comparing `rows` rows from `firstRow` of the cell.
  ::testing::AssertionResult At(HDC target, int x, int y, int maxWidth = 1 << 20, int firstRow = 0,
                                int rows = -1) const {
    return SameBlock(target, x, y + firstRow, picture_.dc(), 0, firstRow, std::min(size_.cx, maxWidth),
                     rows < 0 ? size_.cy - firstRow : rows);
  }

 private:
  static SIZE Extent(const std::string& text, HFONT font) {
    const HDC dc = CreateCompatibleDC(nullptr);
    if (font) SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    DeleteDC(dc);
    return size;
  }
  SIZE size_{};
  Picture picture_;
};

}  // namespace test_support
