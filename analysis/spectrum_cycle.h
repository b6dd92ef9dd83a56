// The computing half of the FFT thread's analysis cycle: from the device position to the
// published spectrum. The FFT thread calls, once at its start:
//
//   SpectrumFeed feed = MakeSpectrumFeed(SampleStore, Settings, playflag, inputRunning);
//
// and in every cycle, in this order:
//
//   SpectrumCycle cycle;
//   switch (LocateSpectrumFrame(feed, P, &cycle)) {    // P: the wave-out device's byte position
//     case SpectrumFrame::Waiting:  draw the waiting text, start again
//     case SpectrumFrame::Unusable: start again at once
//     case SpectrumFrame::Ready:    take the cycle's start time, go on
//   }
//   if (!TakeSpectrumBlock(feed, cycle, ComputePlayPosition(cycle.ahead))) start again;
//   TransformSpectrumBlock(cycle);                       // timed as the transform time
//   FinishSpectrum(cycle);                                // SharedSpectrum published, `ready` set
//   ... draw from SpectrumBins, update FftLatencyMs, sleep
//
// Everything here runs on the FFT thread only, except where a comment says otherwise; nothing is
// allocated per cycle.
#pragma once

#include <atomic>
#include <cstdint>

#include "analysis/fft.h"
#include "analysis/spectrum_block.h"
#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/shared_spectrum.h"

// Room for the samples read per cycle: 4 × 32768, since a decimation by 4 first reads 4·M.
inline constexpr int32_t kFftBlockRoom = 4 * kFftMaxSize;

// The samples of the cycle; after the transform their content is undefined.
extern int32_t FftBlock[kFftBlockRoom];
// The transform's output and its two scratch arrays.
extern int32_t FftRe[kFftMaxSize];
extern int32_t FftIm[kFftMaxSize];
extern int32_t FftScratchA[kFftMaxSize];
extern int32_t FftScratchB[kFftMaxSize];
// The spectrum of the last cycle as published: what the FFT thread's own graph draws.
extern int32_t SpectrumBins[kSpectrumRoom];

// Running average, in ms, of the time from reading the device position to the end of a cycle;
// the FFT thread updates it (any thread may read it). The frame analysed starts where the play
// head will be that much later. 0 at process start, carried over from run to run.
extern std::atomic<int32_t> FftLatencyMs;

// What the cycle reads, fixed when the FFT thread starts: the program passes its SampleStore,
// Settings and transport flags.
struct SpectrumFeed {
  SampleStoreRecord* store = nullptr;
  const SettingsRecord* settings = nullptr;
  const std::atomic<int32_t>* playflag = nullptr;
  const std::atomic<int32_t>* inputRunning = nullptr;
  FrameLayout layout;      // the source's frames, from the store's format
  int32_t bytesPerMs = 0;  // nAvgBytesPerSec / 1000
};

SpectrumFeed MakeSpectrumFeed(SampleStoreRecord& store, const SettingsRecord& settings,
                              const std::atomic<int32_t>& playflag, const std::atomic<int32_t>& inputRunning);

// One cycle's values, fixed when its frame has been located, so that a setting changed in the
// middle of a cycle takes effect in the next one.
struct SpectrumCycle {
  int32_t ahead = 0;  // bytes handed to the device and not played, minus the latency term
  int32_t n = 0;      // transform size in force, N
  int32_t m = 0;      // samples analysed, M = N / zerofill
  int32_t decimation = 1;  // d when `downrateforfft` is 2 or 4, else 1
  int32_t rate = 0;        // analysis rate R
  char wfkind = 'f';
  int32_t radix4 = 0;
  int32_t pinkNoise = 0;
  int32_t loudness = 0;
  int32_t smoothing = 0;
  ViewCopy views = ViewCopy::None;
  int32_t liveInput = 0;
};

enum class SpectrumFrame {
  Waiting,   // the device has not started playing (and no live input): show the waiting text
  Unusable,  // too far behind, or past the data handed to the device: look again at once
  Ready,     // `cycle` is filled; go on with the block
};

// Reads the position: ahead = writtenEnd − (P + seekBase + FftLatencyMs · bytesPerMs). More than
// both play buffers hold is unusable; so is a negative ahead, which also tells the spectrogram
// that the data have ended (SgControl.endOfData and endOfDataMarker) once the file's end has been
// handed to the device, unless the spectrogram is stopped by its own command.
SpectrumFrame LocateSpectrumFrame(const SpectrumFeed& feed, int32_t devicePosition, SpectrumCycle* cycle);

// Fills FftBlock for the cycle: M samples (M·d with decimation) from `where` (the PlayPosition of
// cycle.ahead) under the buffer exchange, continuing at the start of the newer buffer when the
// older one runs out and padding with zeros; the view copies and ViewSamplesReady; the decimation;
// or, during live input, the next recorded block. Then the window over the M samples and zeros up
// to N. Returns false, with no block, when live input ends while the cycle waits for a block.
bool TakeSpectrumBlock(const SpectrumFeed& feed, const SpectrumCycle& cycle, const PlayPosition& where);

// The transform of FftBlock into FftRe / FftIm, by the radix in force.
void TransformSpectrumBlock(const SpectrumCycle& cycle);

// Magnitudes |Re| + |Im| into SpectrumBins, the filters the settings ask for, then the spectrum
// is published with SharedSpectrum.ready set.
void FinishSpectrum(const SpectrumCycle& cycle);
