// One run of the spectrogram thread: the cycle that turns each published spectrum into a column,
// and the clear that starts a fresh picture.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "spectrogram/sg_geometry.h"
#include "spectrogram/sg_intensity.h"
#include "spectrogram/sg_surfaces.h"

// The thread's frequency axis, laid out at every clear. Only the spectrogram thread touches it.
extern SgGeometryRecord SgGeometry;

// What a run draws into and keeps between cycles.
struct SgRun {
  HDC window = nullptr;  // the window's context, with the text font
  HDC back = nullptr;    // the picture
  HDC scale = nullptr;   // the scale layer
  SgTextMetrics metrics;
  int32_t width = 0;     // W and H of the current cycle
  int32_t height = 0;
  SgIntensityScale intensity;
  int32_t waitCount = 0;  // looks at the flag during the last wait
  int32_t handled = 0;    // the value last handled for the previous column's last bin
};

// The intensity scale from the source's full scale, the transform and the magnification.
SgIntensityScale CurrentIntensityScale();

// Text colours for `sgcolor`: black on white in the grey map, white on black in the colour maps.
void SetSgTextColours(HDC dc, int32_t sgcolor);

// Fills the picture, the scale layer and the window with the background, lays out the axis,
// draws the ticks, labels and FFT-point marks, and starts again at column 0.
void ClearSgPicture(SgRun& run);

// One cycle: pause, rescale, clear, advance, wait, draw the column, decorate, present, readouts,
// repaint. A paused picture stays frozen until playback ends.
void RunSgCycle(SgRun& run);
