// The spectrogram thread: one per playback or live-input run (and per show or update restart).
// Each cycle draws the newest published spectrum as one column; the thread ends by itself when
// playback ends, the window is hidden or its updates are stopped, or the data have ended.
#pragma once

#include <atomic>
#include <cstdint>

#include "audio/view_threads.h"

// The priority step last chosen for the spectrogram thread: 0 normal, 1 above normal.
extern std::atomic<int32_t> SgPriorityLevel;

// The thread's body. `restart` is the address of threadRestart: 0 makes it wait 100 ms first.
// Without the spectrogram window and its surfaces it ends at once.
void SpectrogramThread(std::atomic<int32_t>* restart);
// Its row of the start table: every start runs it unless its updates are stopped.
bool SpectrogramThreadWanted(ViewStart start);

// Commands 59 and 60: records the level, then asks for normal or above-normal priority for the
// spectrogram thread started last. False when there is none or the system refuses.
bool SetSgThreadPriority(int32_t level);
