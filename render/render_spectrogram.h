// The whole sound as one spectrogram picture: one column per analysis step, drawn by the
// spectrogram's own cycle with its scales, labels and colour map.
//
// The picture starts with a margin as wide as the "10k" label, where the labels, the ticks and
// the FFT-point marks stand (x = 0 .. 5 as in the window); the columns follow from there, so
// that the labels hide none of the sound. The picture is as wide as the margin and the columns.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32.h"

struct SpectrogramPlan {
  int32_t columns = 0;
  int32_t margin = 0;
  int32_t height = 0;
  double columnsPerSecond = 0;
};

// The plan for the open source at `columnsPerSecond` and the client height `height`.
SpectrogramPlan PlanSpectrogram(double columnsPerSecond, int32_t height, HFONT font);

// The most pixels a spectrogram picture may have.
inline constexpr int64_t kMostSpectrogramPixels = int64_t{1} << 25;

// Draws the picture and writes it to `pngPath`, and the numbers to `csvPath` unless that is "".
// Returns "" or what could not be written.
std::string RenderSpectrogram(const SpectrogramPlan& plan, HFONT font, const std::string& pngPath,
                              const std::string& csvPath);
