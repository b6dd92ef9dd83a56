// The waveform thread: draws the first channel of the frame now heard in the waveform window at
// a fixed pause (`wavwindowsleeptime`), while a source runs and the window is on.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"
#include "shared/view_threads.h"

// The identifier of the waveform thread started last (0 before the first).
extern std::atomic<DWORD> WavThreadId;

// The thread's body; `restart` is the address of threadRestart. Without the window it ends at once.
void WaveformThread(std::atomic<int32_t>* restart);
// Its row of the start table: while `wavwindowstop` is 0 (at creation) or not 1 (later),
// live input included.
bool WaveformThreadWanted(ViewStart start);
