#include "app/main_window_geometry.h"

#include "analysis/fft_window.h"
#include "app/startup.h"
#include "audio/main_display.h"
#include "shared/sample_store.h"
#include "shared/sg_control.h"
#include "spectrogram/sg_window.h"
#include "views/vectorscope_window.h"
#include "views/waveform_window.h"

namespace {

LiveWindow Describe(HWND hwnd, int clientWidth, int clientHeight) {
  LiveWindow live;
  live.exists = hwnd != nullptr && GetWindowRect(hwnd, &live.rect);
  live.clientWidth = clientWidth;
  live.clientHeight = clientHeight;
  return live;
}

}  // namespace

LiveGeometry GatherLiveGeometry() {
  LiveGeometry geometry;
  const ClientSize client = MainClientSize();
  geometry.main = Describe(MainWindow, client.width, client.height);
  const FftWindowSize fft = FftWindowClientSize();
  geometry.fft = Describe(FftWindowHandle(), fft.width, fft.height);
  geometry.sg = Describe(SgWindowHandle(), SgControl.clientWidth, SgControl.clientHeight);
  geometry.vs = Describe(VectorscopeWindowHandle(), VsClientWidth, VsClientHeight);
  geometry.wav = Describe(WaveformWindowHandle(), WavClientWidth, WavClientHeight);
  geometry.fullScreenClientWidth = GetSystemMetrics(SM_CXFULLSCREEN);
  geometry.fullScreenClientHeight = GetSystemMetrics(SM_CYFULLSCREEN);
  geometry.channels = SampleStore.fileChannels;
  return geometry;
}
