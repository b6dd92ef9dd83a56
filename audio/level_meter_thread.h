// The level meter thread: redraws the level text and bar about every 5 ms, in the main window
// and in its off-screen surface, while a file plays and `levelThreadOff` is 0. It knows meter
// types 0 and 1; for the others it blanks the text row and keeps its bar.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/win32.h"
#include "shared/view_threads.h"

// The thread's body; `restart` is the address of threadRestart.
void LevelMeterThread(std::atomic<int32_t>* restart);
// Its row of the start table: playback and creation starts while levelThreadOff is 0.
bool LevelMeterThreadWanted(ViewStart start);

// The identifier of the level meter thread started last (0 before the first).
extern std::atomic<DWORD> levelMeterThreadId;

// The "levelmeterthread info" text: the last pass interval, the average of the last five and
// the milliseconds of sound the last pass measured.
void FormatLevelThreadInfo(char* text, size_t size);
