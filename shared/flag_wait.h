// Waiting for a flag another thread raises, asleep instead of polling: the thread that raises it
// wakes the sleepers. The end of playback wakes nobody, so a sleeper looks at `playflag` again
// every few milliseconds.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"

// Sets `flag` to 1 and wakes the threads sleeping in WaitForFlag on it.
void RaiseFlag(std::atomic<int32_t>& flag);

// Sleeps until `flag` is not 0, someone raises it, or `milliseconds` pass: one look of a wait
// that also watches something nobody wakes it for.
void SleepOnFlag(const std::atomic<int32_t>& flag, DWORD milliseconds);

// Sleeps until `flag` is not 0 or `playflag` is not 1. Returns the whole milliseconds slept: the
// number of 1 ms looks a polling wait would have made.
DWORD WaitForFlag(const std::atomic<int32_t>& flag);
