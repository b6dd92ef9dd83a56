#include "spectrogram/sg_column.h"

#include <algorithm>

namespace {

void Paint(HDC back, int32_t x, int32_t height, int32_t row, COLORREF colour) { SetPixel(back, x, height - row, colour); }

// previous + k * step, held within int32 for magnitudes near its limits.
int32_t RampMagnitude(int32_t previous, int32_t k, int64_t step) {
  const int64_t value = static_cast<int64_t>(previous) + k * step;
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

int32_t DrawLogColumn(HDC back, int32_t x, const SgGeometryRecord& g, const int32_t* bins, const SgPalette& palette,
                      bool manyDraw, bool interpolate) {
  const int32_t height = g.height;
  int32_t previousMagnitude = 0;
  int32_t runMaximum = 0;
  int32_t handled = 0;
  for (int32_t i = 1; i < g.binCount; ++i) {
    const int32_t row = g.binRow[i];
    const int32_t below = g.binRow[i - 1];
    if (row != below) runMaximum = 0;
    if (row == below) {
      if (manyDraw && bins[i] > runMaximum) {
        runMaximum = bins[i];
        handled = IntensityValue(palette, bins[i]);
        Paint(back, x, height, row, ValueColour(palette, handled));
      } else {
        handled = bins[i];
      }
      continue;
    }
    handled = IntensityValue(palette, bins[i]);
    Paint(back, x, height, row, ValueColour(palette, handled));
    const int32_t d = row - below;
    if (interpolate && d >= 2) {
      const int64_t step = (static_cast<int64_t>(bins[i]) - previousMagnitude) / d;
      for (int32_t k = 1; k < d; ++k) {
        Paint(back, x, height, below + k, IntensityColour(palette, RampMagnitude(previousMagnitude, k, step)));
      }
    }
    previousMagnitude = bins[i];
  }
  return handled;
}

int32_t DrawLinearColumn(HDC back, int32_t x, const SgGeometryRecord& g, const int32_t* bins, const SgPalette& palette) {
  int32_t handled = 0;
  for (int32_t r = 1; r <= g.height; ++r) {
    handled = IntensityValue(palette, bins[LinearBinOfRow(g, r)]);
    Paint(back, x, g.height, r, ValueColour(palette, handled));
  }
  return handled;
}

void PresentSgPicture(HDC window, HDC back, int32_t width, int32_t height, int32_t column, const SgGeometryRecord& g,
                      const SgPresentMode& mode) {
  if (!mode.returnMode) {
    BitBlt(window, 0, 0, width, height, back, 0, 0, SRCCOPY);
    return;
  }
  int32_t part = height;
  if (!mode.linear) {
    if (column == 1 && mode.fftPointShow) BitBlt(window, 0, 0, 1, height, back, 0, 0, SRCCOPY);
    if (column > 10 && !mode.interpolate && !mode.underline && g.binCount >= 2) part = height - g.binRow[1] + 1;
  }
  BitBlt(window, column, 0, 1, part, back, column, 0, SRCCOPY);
}
