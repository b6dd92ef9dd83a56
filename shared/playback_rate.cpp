#include "shared/playback_rate.h"

#include <atomic>

void ApplyPlaybackRate(WAVEFORMATEX* format, int32_t fileRate, int32_t playfreqoptional, int32_t speedHalf) {
  const int32_t blockAlign = format->nBlockAlign;
  int32_t rate = fileRate;
  int32_t bytesPerSecond = fileRate * blockAlign;
  if (playfreqoptional != 0) {
    rate = playfreqoptional;
    bytesPerSecond = playfreqoptional * blockAlign;
  } else if (speedHalf == 1) {
    rate = fileRate / 2;
    bytesPerSecond = (fileRate * blockAlign) / 2;
  }
  // The view threads read the format while a new start rewrites it.
  std::atomic_ref<DWORD>(format->nSamplesPerSec).store(static_cast<DWORD>(rate), std::memory_order_relaxed);
  std::atomic_ref<DWORD>(format->nAvgBytesPerSec).store(static_cast<DWORD>(bytesPerSecond), std::memory_order_relaxed);
}

DWORD PlaybackBytesPerSecond(const WAVEFORMATEX& format) {
  return std::atomic_ref<DWORD>(const_cast<DWORD&>(format.nAvgBytesPerSec)).load(std::memory_order_relaxed);
}
