// The program's analysis cycle, run synchronously on a frame of the file chosen by its place
// instead of by the device position: the play buffers hold the sound from that place on, as they
// would while it is heard, and the cycle reads, windows, transforms, filters and publishes it.
#pragma once

#include <cstdint>

#include "analysis/spectrum_cycle.h"

// After the source is open and the settings read: the transform size and block length in force
// as at the start of playback, and the feed of the program's records.
void StartRenderAnalysis();

// The sound frame heard `seconds` into the sound.
int64_t SoundFrameAt(double seconds);

// Analyses the block that starts at sound frame `frame`. SpectrumBins (and the published
// spectrum) then hold its spectrum; with `views`, ViewLeft and ViewRight hold its samples for the
// waveform and the vectorscope. Returns the cycle's values.
SpectrumCycle AnalyseFrameAt(int64_t frame, bool views);

// The smoothing in time starts from nothing, as at the program's start.
void ForgetSmoothing();

// The frame heard `seconds` into the sound as the program analyses it in a steady run: the
// smoothing in time carries every spectrum into the next, so the cycles that came before it at
// the program's cycle rate are analysed first (from an empty history, enough of them for it to
// have settled); with `views` its samples are left in ViewLeft and ViewRight.
SpectrumCycle AnalyseMoment(double seconds, bool views);

// The analysis cycles per second of the running program: one per `fftwindowsleeptime` ms (a
// pause of 0 counts as 1 ms), the time of the cycle's work left aside.
double ProgramCycleRate();
