#include "spectrogram/sg_wait.h"

#include <algorithm>

#include "platform/win32.h"
#include "shared/sample_store.h"
#include "shared/sg_control.h"
#include "shared/shared_spectrum.h"

namespace {

// How soon a wait notices that playback has ended: nobody wakes the flag for that.
constexpr DWORD kPlaybackCheckMs = 10;
constexpr DWORD kNoWaitPauseMs = 1;
constexpr int32_t kSlowAfterLooks = 5000;
constexpr int32_t kQuickWithinLooks = 2;
constexpr int64_t kQuickLookMicroseconds = 1;
constexpr int64_t kSlowLookMicroseconds = 1000;

int64_t NowMicroseconds() {
  LARGE_INTEGER count{};
  LARGE_INTEGER frequency{};
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return count.QuadPart / std::max<int64_t>(frequency.QuadPart / 1000000, 1);
}

bool Waiting() { return SharedSpectrum.ready.load() == 0 && playflag.load() == 1; }

void SleepOnReady(DWORD milliseconds) {
  int32_t unset = 0;
  WaitOnAddress(&SharedSpectrum.ready, &unset, sizeof unset, milliseconds);
}

}  // namespace

int32_t WaitLooks(int64_t microseconds, bool slow) {
  const int64_t looks = 1 + std::max<int64_t>(microseconds, 0) / (slow ? kSlowLookMicroseconds : kQuickLookMicroseconds);
  return static_cast<int32_t>(std::min<int64_t>(looks, INT32_MAX));
}

bool WaitForSpectrum(int32_t* waitCount, bool noWait) {
  if (*waitCount > kSlowAfterLooks && SgControl.slowWait == 0) SgControl.slowWait = 1;
  const bool slow = SgControl.slowWait == 1;
  *waitCount = 0;
  if (noWait) {
    if (Waiting()) SleepOnReady(kNoWaitPauseMs);
  } else {
    const int64_t start = NowMicroseconds();
    while (Waiting()) SleepOnReady(kPlaybackCheckMs);
    *waitCount = WaitLooks(NowMicroseconds() - start, slow);
  }
  if (slow && *waitCount <= kQuickWithinLooks) SgControl.slowWait = 0;
  return slow;
}
