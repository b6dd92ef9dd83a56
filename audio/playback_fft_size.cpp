#include "audio/playback_fft_size.h"

#include "analysis/window_function.h"
#include "shared/settings.h"
#include "shared/sg_control.h"
#include "shared/spectrum_frame.h"

void PutChosenFftSizeInForce(SettingsRecord& settings) {
  const int32_t chosen = settings.fftsampleRequested;
  if (chosen != settings.fftsample) {
    SgControl.clearRequest = 1;
    WindowRebuild = 1;
    SamplesPerFrame = chosen / settings.zerofill;
  }
  settings.fftsample = chosen;
  settings.fftradix4flag = settings.fftradix4flagRequested.load();
}
