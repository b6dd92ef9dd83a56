// Starting the view threads (level meter, FFT, spectrogram, vectorscope, waveform) each time a
// source starts. Nobody stops them: each loops while `playflag` is 1 and ends by itself.
#pragma once

#include <atomic>
#include <cstdint>

// What started the source: the main window's creation, a play command, or live input.
enum class ViewStart { Creation, Playback, LiveInput };

// The value every view thread receives by address: 0 for the threads started at creation (they
// wait 100 ms first), 1 for later starts.
extern std::atomic<int32_t> threadRestart;

// Main window thread: starts the threads the start table gives for `kind`.
void StartViewThreads(ViewStart kind);
