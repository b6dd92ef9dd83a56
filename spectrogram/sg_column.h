// Drawing one spectrum as one column of the picture, and copying what changed to the window.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "spectrogram/sg_geometry.h"
#include "spectrogram/sg_intensity.h"

// Logarithmic axis: bins 1 .. binCount - 1 at their rows. The first bin that reaches a row paints
// it; of the later bins on the same row, with `manyDraw` each one larger than all later ones
// before it repaints the row, without `manyDraw` they are skipped. With `interpolate`, rows
// between two bins get a straight ramp from the lower bin's magnitude (0 below bin 1) towards the
// upper one's. Returns the value last handled for the last bin: its raw magnitude when it was
// skipped, otherwise its intensity value.
int32_t DrawLogColumn(HDC back, int32_t x, const SgGeometryRecord& geometry, const int32_t* bins,
                      const SgPalette& palette, bool manyDraw, bool interpolate);

// Linear axis: row r = 1 .. H shows bin (r * binCount) / H; the top row the Nyquist bin. Returns
// the intensity value of the top row.
int32_t DrawLinearColumn(HDC back, int32_t x, const SgGeometryRecord& geometry, const int32_t* bins,
                         const SgPalette& palette);

// What the window gets after a column at x = `column`: the whole W by H picture in scroll mode;
// in return mode the column itself (plus column 0 with the FFT-point marks after a clear), and
// once past x = 10 on a logarithmic axis without interpolation or underline only its part above
// bin 1's row, the rest being unchanged background.
struct SgPresentMode {
  bool returnMode = true;  // sggraphreturn = 1
  bool linear = false;
  bool fftPointShow = false;
  bool interpolate = true;
  bool underline = false;
};
void PresentSgPicture(HDC window, HDC back, int32_t width, int32_t height, int32_t column,
                      const SgGeometryRecord& geometry, const SgPresentMode& mode);
