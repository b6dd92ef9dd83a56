#include "render/render_spectrogram.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "analysis/spectrum_cycle.h"
#include "render/render_analysis.h"
#include "render/render_csv.h"
#include "render/render_progress.h"
#include "render/render_source.h"
#include "render/render_surface.h"
#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/sg_control.h"
#include "spectrogram/sg_cycle.h"
#include "spectrogram/sg_scales.h"

namespace {

// The scale layer's marks lie in x = 0 .. 5; the layer needs no more.
constexpr int32_t kScaleLayerWidth = 8;
// Ticks stand at x = 1 .. 3: the margin keeps them clear of the columns.
constexpr int32_t kLeastMargin = 4;
constexpr char kWidestLabel[] = "10k";

}  // namespace

SpectrogramPlan PlanSpectrogram(double columnsPerSecond, int32_t height, HFONT font) {
  SpectrogramPlan plan;
  plan.columnsPerSecond = columnsPerSecond;
  plan.height = height;
  const int64_t frames = SourceSoundBytes() / std::max(SampleStore.blockAlign, 1);
  const double seconds = static_cast<double>(frames) / std::max(SampleStore.fileRate, 1);
  plan.columns = static_cast<int32_t>(std::clamp(std::ceil(seconds * columnsPerSecond), 1.0, 1e9));
  RenderSurface measure(1, 1, font);
  SIZE label{};
  GetTextExtentPoint32A(measure.dc(), kWidestLabel, sizeof kWidestLabel - 1, &label);
  plan.margin = std::max<int32_t>(label.cx + 1, kLeastMargin);
  return plan;
}

std::string RenderSpectrogram(const SpectrogramPlan& plan, HFONT font, const std::string& pngPath,
                              const std::string& csvPath) {
  const int32_t width = plan.margin + plan.columns;
  RenderSurface back(width, plan.height, font);
  RenderSurface scale(kScaleLayerWidth, plan.height, font);
  RenderSurface window(1, plan.height, font);  // the readouts and copies the window would get
  SgRun run;
  run.window = window.dc();
  run.back = back.dc();
  run.scale = scale.dc();
  run.metrics = MeasureSgTextMetrics(back.dc());
  run.width = width;
  run.height = plan.height;
  SgControl.clientWidth = width;
  SgControl.clientHeight = plan.height;
  SgControl.paused = 0;
  SgControl.returnedOnce = 0;
  SgControl.clearRequest = 0;
  SgControl.rescaleRequest = 0;
  ClearSgPicture(run);
  // The window stamps the ticks while its first columns are drawn; here they stand in the margin.
  StampScaleLayer(run.back, run.scale, plan.height, Settings.sgcolor);
  SgControl.column = plan.margin - 1;

  std::optional<SpectrumCsv> csv;
  if (!csvPath.empty() && !csv.emplace(csvPath).ok()) return "cannot write " + csvPath;
  ForgetSmoothing();
  RenderProgress progress("spectrogram", plan.columns);
  for (int32_t column = 0; column < plan.columns; ++column) {
    const int64_t frame = SoundFrameAt(column / plan.columnsPerSecond);
    const SpectrumCycle cycle = AnalyseFrameAt(frame, false);
    if (csv) {
      if (column == 0) csv->Header(cycle.rate, cycle.n, cycle.n / 2 + 1);
      csv->Row(static_cast<double>(frame) / SampleStore.fileRate, SpectrumBins, cycle.n / 2 + 1);
    }
    RunSgCycle(run);
    progress.Step(column + 1);
  }
  if (csv && !csv->Close()) return "cannot write " + csvPath;
  if (!back.Save(pngPath)) return "cannot write " + pngPath;
  return "";
}
