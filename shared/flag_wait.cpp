#include "shared/flag_wait.h"

#include "shared/sample_store.h"

namespace {

// How soon a sleeper notices that playback has ended.
constexpr DWORD kPlaybackCheckMs = 10;

}  // namespace

void RaiseFlag(std::atomic<int32_t>& flag) {
  flag.store(1);
  WakeByAddressAll(&flag);
}

void SleepOnFlag(const std::atomic<int32_t>& flag, DWORD milliseconds) {
  int32_t unset = 0;
  WaitOnAddress(const_cast<std::atomic<int32_t>*>(&flag), &unset, sizeof unset, milliseconds);
}

DWORD WaitForFlag(const std::atomic<int32_t>& flag) {
  const DWORD start = timeGetTime();
  while (flag.load() == 0 && playflag.load() == 1) SleepOnFlag(flag, kPlaybackCheckMs);
  return timeGetTime() - start;
}
