// Starting the view threads (level meter, FFT, spectrogram, vectorscope, waveform) each time a
// source starts. Nobody stops them: each loops while `playflag` is 1 and ends by itself.
//
// A quick stop and play can start a kind again before its previous thread has noticed the stop.
// A new thread of a kind therefore first waits, on its own and without holding up the main
// window, until the previous one of that kind has ended; a start that a newer start of the same
// kind overtakes while it waits ends without running.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"

// What started the source: the main window's creation, a play command, or live input.
enum class ViewStart { Creation, Playback, LiveInput };

// The value every view thread receives by address: 0 for the threads started at creation (they
// wait 100 ms first), 1 for later starts.
extern std::atomic<int32_t> threadRestart;

// The kinds, in the order a start starts them.
enum class ViewKind : int32_t { LevelMeter, Fft, Spectrogram, Vectorscope, Waveform };
inline constexpr int32_t kViewKindCount = 5;

// A view thread's body; `restart` is the address of threadRestart.
using ViewThreadEntry = void (*)(std::atomic<int32_t>* restart);
// The kind's row of the start table: whether a start of this kind runs a thread of it.
using ViewThreadWanted = bool (*)(ViewStart start);

// Plugs a kind's thread into the starts (main window thread, before the starts that should run
// it). A kind without an entry is not started. The main window plugs in every kind when it is
// created (app/view_thread_kinds.h).
void RegisterViewThread(ViewKind kind, ViewThreadEntry entry, ViewThreadWanted wanted);

// Main window thread: starts the threads the start table gives for `kind`.
void StartViewThreads(ViewStart kind);

// Main window thread: starts one thread of `kind` as a later start (a view window switched on),
// whatever the start table says.
void StartViewThread(ViewKind kind);

// Threads of `kind` that exist: running, or waiting for their predecessor to end.
int32_t ViewThreadsAlive(ViewKind kind);
// Waits up to `timeoutMs` until no thread of `kind` exists; true when none does. For releasing
// or changing what such threads read or draw into (destruction, a switch of source).
bool WaitForViewThreadEnd(ViewKind kind, DWORD timeoutMs);
