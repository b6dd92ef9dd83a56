#include "views/vectorscope_thread.h"

#include <cstdio>

#include "shared/flag_wait.h"
#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/spectrum_view_samples.h"
#include "views/vectorscope_picture.h"
#include "views/vectorscope_window.h"

std::atomic<DWORD> VsThreadId{0};

namespace {

constexpr DWORD kCreationDelayMs = 100;

VsScales CurrentScales() {
  return ComputeVsScales(VsClientWidth, VsClientHeight, SampleStore.fullScale, Settings.fftsample, Settings.vecscpsample);
}

// The milliseconds waited for the last frame, in the window's top-left corner.
void ShowWaits(HDC window, uint32_t waits) {
  char text[16];
  const int length = std::snprintf(text, sizeof text, "roop%3u", waits);
  TextOutA(window, 0, 0, text, length);
}

// Until the FFT thread has handed over a new frame, or the source stops. Returns the
// milliseconds waited.
uint32_t WaitForFrame() {
  const DWORD waited = WaitForFlag(ViewSamplesReady);
  ViewSamplesReady = 0;
  return waited;
}

}  // namespace

void VectorscopeThread(std::atomic<int32_t>* restart) {
  const HWND hwnd = VectorscopeView.window;
  ViewSurface& surface = VectorscopeView.surface;
  const HDC picture = surface.dc;
  if (!hwnd || !picture) return;
  VsThreadId = GetCurrentThreadId();
  const HDC window = GetDC(hwnd);
  if (restart->load() == 0) {
    if (Settings.virtualscreendynamicmemaloc == 1) ResizeViewSurface(surface, window, VsClientWidth, VsClientHeight);
    Sleep(kCreationDelayMs);
  }
  VsScales scales = CurrentScales();
  SelectObject(picture, GetStockObject(WHITE_BRUSH));
  uint32_t waits = 0;
  while (playflag.load() != 0 && Settings.vswindowstop == 0) {
    if (VsResized.load() == 1 && Settings.virtualscreendynamicmemaloc == 1 &&
        ResizeViewSurface(surface, window, VsClientWidth, VsClientHeight)) {
      VsResized = 0;
    }
    if (VsParamsChanged.exchange(0) == 1) scales = CurrentScales();
    DrawVectorscopePicture(picture, scales, ViewLeft, ViewRight, VsLineMode);
    BitBlt(window, 0, 0, scales.width, scales.height, picture, 0, 0, SRCCOPY);
    if (VsShowWaits == 1) ShowWaits(window, waits);
    waits = WaitForFrame();
  }
  ReleaseDC(hwnd, window);
}

bool VectorscopeThreadWanted(ViewStart start) {
  if (start == ViewStart::LiveInput || SampleStore.fileChannels != 2) return false;
  return start == ViewStart::Creation ? Settings.vswindowstop == 0 : Settings.vswindowstop != 1;
}
