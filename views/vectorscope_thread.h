// The vectorscope thread: draws the sample pairs of each new FFT frame in the vectorscope
// window, once per frame, while a two-channel file plays and the window is on.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"
#include "shared/view_threads.h"

// The identifier of the vectorscope thread started last (0 before the first).
extern std::atomic<DWORD> VsThreadId;

// The thread's body; `restart` is the address of threadRestart. Without the window it ends at once.
void VectorscopeThread(std::atomic<int32_t>* restart);
// Its row of the start table: two-channel playback while `vswindowstop` is 0 (at creation) or
// not 1 (later); never for live input.
bool VectorscopeThreadWanted(ViewStart start);
