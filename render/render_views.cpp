#include "render/render_views.h"

#include <charconv>

#include "analysis/fft_graph.h"
#include "analysis/fft_picture.h"
#include "analysis/fft_window.h"
#include "render/render_analysis.h"
#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/spectrum_view_samples.h"
#include "views/vectorscope_picture.h"
#include "views/vectorscope_window.h"
#include "views/waveform_picture.h"

namespace {

// The waveform's stable copy of the frame, as its thread keeps one.
int32_t waveformSamples[kViewSampleRoom];

// The FFT window's picture after one cycle: laid out for this source and size, the statistics
// line left out (it measures the machine, not the sound). The surfaces are of the client size
// rather than the screen's: the picture uses only that part of them.
bool SaveFftPicture(const SpectrumCycle& cycle, ClientSize size, HFONT font, const std::string& path) {
  RenderSurface window(size.width, size.height);
  RenderSurface back(size.width, size.height, font);
  RenderSurface grid(size.width, size.height, font);
  const FftPictureFrame picture{{window.dc(), back.dc(), grid.dc()},
                                MeasureFftGraphMetrics(window.dc(), back.dc()),
                                size.width,
                                size.height,
                                SampleStore.fullScale};
  const FftStrategy strategy = FftStrategyOf(Settings.fftdrawold, Settings.fftdrawline);
  FftGraphLayout layout;
  FftStatistics statistics;
  DrawFftPicture(picture, Settings, cycle, strategy, true, &layout, &statistics);
  TransferFftPicture(picture.surfaces, size.width, size.height, strategy == FftStrategy::Old, 1, 0, &statistics);
  return window.Save(path);
}

bool SaveWaveformPicture(ClientSize size, const std::string& path) {
  RenderSurface surface(size.width, size.height);
  SelectObject(surface.dc(), GetStockObject(WHITE_BRUSH));
  const WavScales scales =
      ComputeWavScales(WavScales{}, size.width, size.height, SampleStore.format.wBitsPerSample, Settings.fftsample);
  const int32_t count = WavSampleCount(scales, Settings.fftsample, Settings.wavgphffts);
  for (int32_t i = 0; i < count; ++i) waveformSamples[i] = ViewLeft[i].load(std::memory_order_relaxed);
  DrawWaveformPicture(surface.dc(), scales, waveformSamples, Settings.fftsample, Settings.wavgphffts);
  return surface.Save(path);
}

bool SaveVectorscopePicture(ClientSize size, const std::string& path) {
  RenderSurface surface(size.width, size.height);
  SelectObject(surface.dc(), GetStockObject(WHITE_BRUSH));
  const VsScales scales =
      ComputeVsScales(size.width, size.height, SampleStore.fullScale, Settings.fftsample, Settings.vecscpsample);
  DrawVectorscopePicture(surface.dc(), scales, ViewLeft, ViewRight, VsLineMode);
  return surface.Save(path);
}

}  // namespace

ViewSizes ChooseViewSizes(ClientSize forced) {
  if (forced.width > 0 && forced.height > 0) return {forced, forced, forced};
  return {WindowClientSize(Settings.fftwindowwidth, Settings.fftwindowheight),
          WindowClientSize(Settings.wavwindowwidth, Settings.wavwindowheight),
          WindowClientSize(Settings.vswindowwidth, Settings.vswindowheight)};
}

std::string MomentName(double seconds) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, seconds).ptr;
  return std::string(text, end);
}

std::string RenderViewsAt(double seconds, const ViewSizes& sizes, HFONT font, const std::string& outDir) {
  const SpectrumCycle cycle = AnalyseMoment(seconds, true);
  const std::string moment = MomentName(seconds);
  const std::string fft = outDir + "/fft-" + moment + ".png";
  if (!SaveFftPicture(cycle, sizes.fft, font, fft)) return "cannot write " + fft;
  const std::string waveform = outDir + "/waveform-" + moment + ".png";
  if (!SaveWaveformPicture(sizes.waveform, waveform)) return "cannot write " + waveform;
  if (SampleStore.format.nChannels != 2) return "";
  const std::string vectorscope = outDir + "/vectorscope-" + moment + ".png";
  if (!SaveVectorscopePicture(sizes.vectorscope, vectorscope)) return "cannot write " + vectorscope;
  return "";
}
