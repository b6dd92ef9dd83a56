#include "analysis/fft_picture.h"

#include "analysis/fft_graph_flags.h"

void DrawFftPicture(const FftPictureFrame& picture, const SettingsRecord& settings, const SpectrumCycle& cycle,
                    FftStrategy strategy, bool relayout, FftGraphLayout* layout, FftStatistics* stats) {
  FftGraphFrame frame;
  frame.width = picture.width;
  frame.height = picture.height;
  frame.n = cycle.n;
  frame.m = cycle.m;
  frame.rate = cycle.rate;
  frame.fullScale = picture.fullScale;
  frame.magnified = settings.fftgraphmagnified;
  if (FftLogAxis != 1) {
    DrawLinearPicture(picture.surfaces.back, frame, picture.metrics, relayout, picture.timingLine, SpectrumBins, layout,
                      stats);
    return;
  }
  if (relayout) LayoutLogPicture(picture.surfaces, frame, picture.metrics, strategy, layout);
  FftCurveStyle style;
  style.strategy = strategy;
  style.levelAxis = FftLevelAxis;
  style.light = settings.fftgraphmodelight;
  style.onePerColumn = FftOnePointPerColumn;
  style.draw0Hz = settings.fftgraph0hzdraw;
  DrawLogPicture(picture.surfaces, *layout, style, picture.fullScale, cycle.n, SpectrumBins);
}
