#include "views/waveform_thread.h"

#include <algorithm>

#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/spectrum_view_samples.h"
#include "views/waveform_picture.h"
#include "views/waveform_window.h"

std::atomic<DWORD> WavThreadId{0};

namespace {

constexpr DWORD kCreationDelayMs = 100;

// The thread's private copy of the frame, so that a picture is drawn from stable samples. One
// waveform thread runs at a time.
int32_t frameCopy[kViewSampleRoom];

void CopyFrame(int32_t count) {
  for (int32_t i = 0; i < count; ++i) frameCopy[i] = ViewLeft[i].load(std::memory_order_relaxed);
}

}  // namespace

void WaveformThread(std::atomic<int32_t>* restart) {
  const HWND hwnd = WaveformView.window;
  ViewSurface& surface = WaveformView.surface;
  const HDC picture = surface.dc;
  if (!hwnd || !picture) return;
  WavThreadId = GetCurrentThreadId();
  const HDC window = GetDC(hwnd);
  if (restart->load() == 0) {
    if (Settings.virtualscreendynamicmemaloc == 1) ResizeViewSurface(surface, window, WavClientWidth, WavClientHeight);
    Sleep(kCreationDelayMs);
  }
  WavParamsChanged = 1;
  WavScales scales;
  while (playflag.load() != 0 && Settings.wavwindowstop == 0) {
    if (WavResized.load() == 1 && Settings.virtualscreendynamicmemaloc == 1 &&
        ResizeViewSurface(surface, window, WavClientWidth, WavClientHeight)) {
      WavResized = 0;
    }
    if (WavParamsChanged.exchange(0) == 1) {
      scales = ComputeWavScales(scales, WavClientWidth, WavClientHeight, SampleStore.format.wBitsPerSample,
                                Settings.fftsample);
    }
    while (SampleStore.writerBusy.load() != 0) Sleep(0);
    const int32_t fftsample = Settings.fftsample;
    const int32_t squeezed = Settings.wavgphffts;
    CopyFrame(WavSampleCount(scales, fftsample, squeezed));
    DrawWaveformPicture(picture, scales, frameCopy, fftsample, squeezed);
    BitBlt(window, 0, 0, scales.width, scales.height, picture, 0, 0, SRCCOPY);
    Sleep(static_cast<DWORD>(std::max(Settings.wavwindowsleeptime.load(), 0)));
  }
  ReleaseDC(hwnd, window);
}

bool WaveformThreadWanted(ViewStart start) {
  return start == ViewStart::Creation ? Settings.wavwindowstop == 0 : Settings.wavwindowstop != 1;
}
