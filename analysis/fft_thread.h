// The FFT thread: one per playback or live-input run. Each cycle computes the spectrum of the
// sound now heard (published for the spectrogram and the views), draws the graph into the FFT
// window, writes the statistics line and sleeps; the thread ends by itself when the source stops
// or key o asks it to.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"
#include "shared/view_threads.h"

// Key o: the thread ends at its next cycle and clears the request. While it is set the main
// window's spectrum text command does nothing.
extern std::atomic<int32_t> FftStopRequest;
// "なし": with a pause of 0 there is no sleep call at all ("1timeスライス未満", the same pause
// without this flag, yields the time slice).
extern std::atomic<int32_t> FftSleepNone;
// The priority step last chosen for the FFT thread: 0 normal, 1 above normal, 2 highest.
extern std::atomic<int32_t> FftPriorityLevel;
// The thread started last: its id, and a handle by which another thread can change its priority.
extern std::atomic<DWORD> FftThreadId;
extern std::atomic<HANDLE> FftThreadHandle;

// The thread's body. `restart` is the address of threadRestart: 0 makes it wait 100 ms first.
// Without an FFT window it ends at once.
void FftThread(std::atomic<int32_t>* restart);
// Its row of the start table: every start runs it.
bool FftThreadWanted(ViewStart start);

// Commands 35, 36, 37: records the level, then asks for the priority (normal, above normal,
// highest) for the FFT thread started last. False when there is none or the system refuses;
// the menus then keep their marks.
bool SetFftThreadPriority(int32_t level);
