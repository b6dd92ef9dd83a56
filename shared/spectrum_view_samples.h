// The samples the FFT thread hands on to the vectorscope and waveform views: copies of the
// channels it reads for each analysis, filled in the same pass.
//
// The view threads read these while the next pass may be writing them: every entry is a relaxed
// atomic, so a reader sees an old or a new sample, never a torn one. A view may see a mixture of
// two passes; for a picture of the sound now heard that is accepted.
#pragma once

#include <atomic>
#include <cstdint>

// Room for one pass; copying stops when the arrays are full.
inline constexpr int32_t kViewSampleRoom = 32768;

// The first channel (also the only one, and the live input).
extern std::atomic<int32_t> ViewLeft[kViewSampleRoom];
// The second channel; filled only for two-channel sources while the vectorscope runs.
extern std::atomic<int32_t> ViewRight[kViewSampleRoom];
// Raised (RaiseFlag) by the FFT thread after each copy pass; the vectorscope thread clears it.
extern std::atomic<int32_t> ViewSamplesReady;
