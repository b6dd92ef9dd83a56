// One picture of the FFT view from the spectrum of the last cycle (SpectrumBins): the layout
// when it is due, then the graph on the linear or logarithmic axis by the strategy the settings
// choose. The FFT thread draws one per cycle into the window and its surfaces; the renderer
// draws the same into memory surfaces of the window's client size.
#pragma once

#include <cstdint>

#include "analysis/fft_graph.h"
#include "analysis/spectrum_cycle.h"
#include "shared/settings.h"

struct FftPictureFrame {
  FftSurfaces surfaces;
  FftGraphMetrics metrics;
  int32_t width = 0;      // the client size
  int32_t height = 0;
  int32_t fullScale = 0;  // 2 to the bits per sample
  bool timingLine = false;  // the linear picture's timing line (the statistics' mode 0)
};

// `relayout`: the axes are laid out again first (always for the first picture into `layout`).
void DrawFftPicture(const FftPictureFrame& picture, const SettingsRecord& settings, const SpectrumCycle& cycle,
                    FftStrategy strategy, bool relayout, FftGraphLayout* layout, FftStatistics* stats);
