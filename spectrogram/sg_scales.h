// The spectrogram's axis decorations: tick marks, Hz labels, marks at every note C and at every
// FFT bin, and the scale layer that carries the ticks onto the picture's left edge.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "spectrogram/sg_geometry.h"

inline constexpr COLORREF kSgTickColour = RGB(191, 191, 255);
inline constexpr COLORREF kSgCMarkColour = RGB(0, 255, 0);

// Three light-blue pixels at x = 1, 2, 3 for each marked frequency: in logarithmic mode every
// 10 Hz to 100 Hz, every 100 Hz to 1 kHz, every 1 kHz below the Nyquist frequency up to 10 kHz,
// then every 10 kHz; in linear mode every 1 kHz below the Nyquist frequency.
void DrawTickMarks(HDC surface, const SgGeometryRecord& geometry, bool linear);

// "10", "100", "1k", "10k", then "20k", "30k" .. below the Nyquist frequency, at x = 0, centred on
// their ticks, in the surface's text colours. `charHeight` is the text font's tmHeight.
void DrawLogLabels(HDC surface, const SgGeometryRecord& geometry, int32_t charHeight);
// "5k", "10k", "15k" .. below the Nyquist frequency on the linear axis.
void DrawLinearLabels(HDC surface, const SgGeometryRecord& geometry, int32_t charHeight);

// A green pixel at x = 5 on the row of every C (2.04 Hz and its octaves below `rate`).
void DrawCMarks(HDC surface, const SgGeometryRecord& geometry, int32_t rate);

// A pixel at x = 0 on the row of every bin 0 .. binCount - 1, in `colour`.
void DrawFftPointMarks(HDC surface, const SgGeometryRecord& geometry, COLORREF colour);
// The marks' colours: into the scale layer at a clear, into the picture after a column.
inline COLORREF FftPointLayerColour(int32_t sgcolor) { return sgcolor == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255); }
inline COLORREF FftPointPictureColour(int32_t sgcolor) { return sgcolor == 0 ? RGB(0, 0, 0) : RGB(254, 254, 254); }

// Combines the scale layer's four leftmost columns into the picture: AND over the grey map's white,
// OR over the colour maps' black, so the background leaves the picture as it is.
void StampScaleLayer(HDC picture, HDC layer, int32_t height, int32_t sgcolor);
