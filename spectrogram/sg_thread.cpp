#include "spectrogram/sg_thread.h"

#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/sg_control.h"
#include "spectrogram/sg_cycle.h"
#include "spectrogram/sg_readouts.h"
#include "spectrogram/sg_surfaces.h"
#include "spectrogram/sg_window.h"

namespace {

constexpr DWORD kCreationDelayMs = 100;

void RecordThread() {
  const DWORD id = GetCurrentThreadId();
  SgControl.threadId = static_cast<int32_t>(id);
  if (const HANDLE old =
          SgControl.threadHandle.exchange(OpenThread(THREAD_SET_INFORMATION | THREAD_QUERY_INFORMATION, FALSE, id))) {
    CloseHandle(old);
  }
}

bool Running() { return playflag.load() != 0 && SgControl.stopped == 0 && SgControl.endOfData == 0; }

}  // namespace

void SpectrogramThread(std::atomic<int32_t>* restart) {
  const HWND hwnd = SgWindowHandle();
  SgRun run;
  run.back = SgBackSurface;
  run.scale = SgScaleSurface;
  if (!hwnd || !run.back || !run.scale) return;
  run.metrics = SgSurfaceMetrics();
  StartReadoutClock();
  run.intensity = CurrentIntensityScale();
  RecordThread();
  if (restart->load() == 0) Sleep(kCreationDelayMs);
  run.window = GetDC(hwnd);
  if (const HFONT font = SgTextFont()) SelectObject(run.window, font);
  SetSgTextColours(run.window, Settings.sgcolor);
  // The picture of the previous run reappears.
  BitBlt(run.window, 0, 0, SgControl.clientWidth, SgControl.clientHeight, run.back, 0, 0, SRCCOPY);
  while (Running()) RunSgCycle(run);
  ReleaseDC(hwnd, run.window);
}

bool SpectrogramThreadWanted(ViewStart) { return SgControl.stopped != 1; }
