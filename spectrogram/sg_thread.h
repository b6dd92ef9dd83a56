// The spectrogram thread: one per playback or live-input run (and per show or update restart).
// Each cycle draws the newest published spectrum as one column; the thread ends by itself when
// playback ends, the window is hidden or its updates are stopped, or the data have ended.
#pragma once

#include <atomic>
#include <cstdint>

#include "shared/view_threads.h"

// The thread's body. `restart` is the address of threadRestart: 0 makes it wait 100 ms first.
// Without the spectrogram window and its surfaces it ends at once.
void SpectrogramThread(std::atomic<int32_t>* restart);
// Its row of the start table: every start runs it unless its updates are stopped.
bool SpectrogramThreadWanted(ViewStart start);
