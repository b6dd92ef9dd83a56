#include "spectrogram/sg_cycle.h"

#include <algorithm>
#include <cstdio>

#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/sg_control.h"
#include "shared/shared_spectrum.h"
#include "spectrogram/sg_column.h"
#include "spectrogram/sg_readouts.h"
#include "spectrogram/sg_scales.h"
#include "spectrogram/sg_wait.h"

SgGeometryRecord SgGeometry;

namespace {

constexpr DWORD kPausedCheckMs = 10;

// The spectrum being drawn: bins 0 .. binCount (the Nyquist bin), taken once per column.
int32_t columnBins[kSpectrumRoom + 1];

void FillBackground(HDC dc, int32_t width, int32_t height) { Rectangle(dc, -1, -1, width + 1, height + 1); }

// Takes the published spectrum for this column. The flag goes back to 0 before the copy, so a
// spectrum published while this column is drawn sets it again and becomes the next column
// instead of being lost. Bins the spectrum does not have (another transform size) read as 0.
void TakeSpectrum(int32_t binCount) {
  SharedSpectrum.ready = 0;
  const int32_t wanted = std::min(binCount + 1, kSpectrumRoom);
  const int32_t count = std::clamp(CopySpectrum(columnBins, wanted), 0, wanted);
  std::fill(columnBins + count, columnBins + wanted, 0);
}

// Sleeps until playback ends: a paused picture is not resumed by clearing the flag.
void FreezeUntilPlaybackEnds() {
  int32_t playing = 1;
  while (playflag.load() == 1) WaitOnAddress(&playflag, &playing, sizeof playing, kPausedCheckMs);
}

// Step 4: the next column's x; at the right edge either back to x = 1 with a clear requested for
// the next cycle, or the picture scrolled left by one pixel. A column beyond the edge (a shrunken
// window whose clear has not come yet) counts as at the edge. A window without width (minimised)
// has no edge: a wrap there would take the labels away for the rest of the playback.
int32_t AdvanceColumn(SgRun& run) {
  int32_t column = SgControl.column + 1;
  if (column >= run.width && run.width > 0 && Settings.sggraphreturn == 1) {
    SgControl.returnedOnce = 1;
    column = 1;
    SgControl.clearRequest = 1;
  }
  if (column >= run.width && run.width > 0) {
    BitBlt(run.back, -1, 0, run.width, run.height, run.back, 0, 0, SRCCOPY);
    column = run.width - 1;
  }
  SgControl.column = column;
  return column;
}

void WriteWaitStatistics(const SgRun& run, bool slow) {
  char text[96];
  const int length =
      std::snprintf(text, sizeof text, slow ? "sleeproop(l)%04d scale%f power%d      " : "sleeproop%04d scale%f power%d      ",
                    run.waitCount, static_cast<double>(run.intensity.monoGain), run.handled);
  TextOutA(run.window, 40, run.height - run.metrics.lineHeight, text, std::clamp(length, 0, static_cast<int>(sizeof text) - 1));
}

SgPalette CurrentPalette(const SgRun& run) { return {run.intensity, Settings.sgcolor, Settings.sggraphtype}; }

void DrawColumn(SgRun& run, int32_t column) {
  const SgPalette palette = CurrentPalette(run);
  if (Settings.sgliner == 1) {
    run.handled = DrawLinearColumn(run.back, column, SgGeometry, columnBins, palette);
  } else {
    run.handled = DrawLogColumn(run.back, column, SgGeometry, columnBins, palette, Settings.sgspectmanydraw == 1,
                                Settings.sginterpolate == 1);
  }
}

// Step 7: the decorations that are repeated after each column.
void Decorate(const SgRun& run, int32_t column) {
  if (Settings.sgliner == 1) {
    DrawLinearLabels(run.back, SgGeometry, run.metrics.charHeight);
    return;
  }
  const int32_t sgcolor = Settings.sgcolor;
  if (Settings.sgfftpointshow == 1) DrawFftPointMarks(run.back, SgGeometry, FftPointPictureColour(sgcolor));
  if (Settings.sgkeycshow == 1) DrawCMarks(run.back, SgGeometry, SampleStore.analysisRate);
  if ((column + 1 != run.width && SgControl.returnedOnce == 0) || Settings.sghzdraw == 1) {
    DrawLogLabels(run.back, SgGeometry, run.metrics.charHeight);
  }
  if (Settings.sgscaleshowalltime == 1) DrawTickMarks(run.back, SgGeometry, false);
}

void Present(const SgRun& run, int32_t column) {
  SgPresentMode mode;
  mode.returnMode = Settings.sggraphreturn == 1;
  mode.linear = Settings.sgliner == 1;
  mode.fftPointShow = Settings.sgfftpointshow == 1;
  mode.interpolate = Settings.sginterpolate == 1;
  mode.underline = Settings.sgunderline == 1;
  PresentSgPicture(run.window, run.back, run.width, run.height, column, SgGeometry, mode);
}

void WriteColumnReadouts(const SgRun& run, int32_t column) {
  SgReadoutFrame frame;
  frame.window = run.window;
  frame.width = run.width;
  frame.height = run.height;
  frame.metrics = run.metrics;
  frame.column = column;
  frame.geometry = &SgGeometry;
  frame.bins = columnBins;
  frame.rate = SampleStore.analysisRate;
  frame.fftsample = std::min(Settings.fftsample.load(), 2 * SgGeometry.binCount);
  WriteReadouts(frame);
}

}  // namespace

SgIntensityScale CurrentIntensityScale() {
  return ComputeIntensityScale(SampleStore.fullScale, Settings.fftsample, Settings.zerofill, Settings.sggraphmagnified);
}

void SetSgTextColours(HDC dc, int32_t sgcolor) {
  SetTextColor(dc, sgcolor == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255));
  SetBkColor(dc, sgcolor == 0 ? RGB(255, 255, 255) : RGB(0, 0, 0));
}

void ClearSgPicture(SgRun& run) {
  const int32_t sgcolor = Settings.sgcolor;
  const HGDIOBJ brush = GetStockObject(sgcolor == 0 ? WHITE_BRUSH : BLACK_BRUSH);
  SelectObject(run.back, brush);
  SelectObject(run.scale, brush);
  SetSgTextColours(run.back, sgcolor);
  SetSgTextColours(run.window, sgcolor);
  FillBackground(run.back, run.width, run.height);
  FillBackground(run.scale, run.width, run.height);
  // The underline line in the window is white on the colour maps' black.
  if (sgcolor != 0) SelectObject(run.window, GetStockObject(WHITE_PEN));
  SelectObject(run.window, brush);
  FillBackground(run.window, run.width, run.height);

  run.intensity = CurrentIntensityScale();
  ComputeSgGeometry(&SgGeometry, SampleStore.analysisRate, Settings.fftsample, run.height);
  PublishSgAxis(SgGeometry);
  const bool linear = Settings.sgliner == 1;
  DrawTickMarks(run.scale, SgGeometry, linear);
  if (linear) {
    DrawLinearLabels(run.back, SgGeometry, run.metrics.charHeight);
  } else {
    if (SgControl.returnedOnce == 0 || Settings.sghzdraw == 1) DrawLogLabels(run.back, SgGeometry, run.metrics.charHeight);
    if (Settings.sgfftpointshow == 1) DrawFftPointMarks(run.scale, SgGeometry, FftPointLayerColour(sgcolor));
  }
  SgControl.column = 0;
}

void RunSgCycle(SgRun& run) {
  if (SgControl.paused != 0) {
    FreezeUntilPlaybackEnds();
    return;
  }
  run.width = SgControl.clientWidth;
  run.height = SgControl.clientHeight;
  // The requests are taken as they are acted on, so one that comes meanwhile is not lost.
  if (SgControl.rescaleRequest.exchange(0) == 1) run.intensity = CurrentIntensityScale();
  if (SgControl.clearRequest.exchange(0) == 1) ClearSgPicture(run);
  const int32_t column = AdvanceColumn(run);

  const bool slow = WaitForSpectrum(&run.waitCount, Settings.sgspectnowait == 1);
  if (SgControl.waitStats == 1) WriteWaitStatistics(run, slow);
  TakeSpectrum(SgGeometry.binCount);
  DrawColumn(run, column);
  Decorate(run, column);
  if (column < 4) StampScaleLayer(run.back, run.scale, run.height, Settings.sgcolor);
  if (Settings.sgunderline == 1 && Settings.sgmousecurhzdis == 0) SetPixel(run.back, column, run.height - 1, RGB(255, 255, 255));
  Present(run, column);
  WriteColumnReadouts(run, column);
  if (SgControl.repaintRequest.exchange(0) == 1) BitBlt(run.window, 0, 0, run.width, run.height, run.back, 0, 0, SRCCOPY);
}
