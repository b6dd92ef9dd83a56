// In-memory surfaces for the spectrogram tests and the points of a colour in them.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "platform/win32.h"

namespace sgpicture {

inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);

// A memory surface of its own size with the default font, filled with `fill`.
class Picture {
 public:
  Picture(int width, int height, COLORREF fill = kWhite) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(dc_, width, height);
    SelectObject(dc_, bitmap_);
    brush_ = CreateSolidBrush(fill);
    const HGDIOBJ old = SelectObject(dc_, brush_);
    const HGDIOBJ oldPen = SelectObject(dc_, GetStockObject(NULL_PEN));
    Rectangle(dc_, -1, -1, width + 2, height + 2);
    SelectObject(dc_, old);
    SelectObject(dc_, oldPen);
  }
  ~Picture() {
    DeleteDC(dc_);
    DeleteObject(bitmap_);
    DeleteObject(brush_);
  }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }

  // The rows y of column x (above `below`, by default all) that hold `colour`.
  std::set<int> rowsOf(int x, COLORREF colour, int below = -1) const {
    std::set<int> rows;
    for (int y = 0; y < (below < 0 ? height_ : below); ++y) {
      if (at(x, y) == colour) rows.insert(y);
    }
    return rows;
  }

  // Whether every pixel equals the one of `other` (same size).
  ::testing::AssertionResult SameAs(const Picture& other) const {
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        if (at(x, y) != other.at(x, y)) {
          return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex << at(x, y)
                                               << ", expected " << other.at(x, y);
        }
      }
    }
    return ::testing::AssertionSuccess();
  }

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HBRUSH brush_ = nullptr;
};

// The rows y = height - r for rows r.
inline std::set<int> PixelRows(int height, std::initializer_list<int> rows) {
  std::set<int> ys;
  for (int r : rows) ys.insert(height - r);
  return ys;
}

}  // namespace sgpicture
