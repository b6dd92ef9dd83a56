// The rewrites a refill can apply to one play buffer: two ways of playing twice as fast and one
// of playing an octave lower. Each works on the 128000 bytes of a play buffer in the file's own
// frame layout and takes part in the buffer exchange while it writes them; reading further
// file data between the steps is the engine's business.
#pragma once

#include <cstdint>

#include "analysis/fft.h"

// The sample layout a transform needs.
struct SampleLayout {
  int32_t blockAlign;     // bytes per frame
  int32_t bitsPerSample;  // 8 (unsigned around 128) or 16 (signed little-endian)
  int32_t channels;       // 1 or 2
};

// Double speed by decimation: frames 0, 2, 4, ... of the 128000 bytes at `in` become the 64000
// bytes at `out` (which may be `in` itself, or lie in the same buffer before it).
inline constexpr int32_t kDecimatedBytes = 64000;
void DecimateFrames(char* out, const char* in, int32_t blockAlign);

// Double speed by block thinning: the frames of a block of this many, of the file's rate and
// `wavblockfanticonst` blocks per second; at least 1 so that the block pairs move on.
int32_t ThinningBlockFrames(int32_t fileRate, int32_t blocksPerSecond);
// Packs the kept frames of each pair of blocks from `buffer`'s own 128000 bytes (in place) and
// then from the 128000 bytes at `more` into `buffer` until it holds 128000 bytes or both inputs
// are used up, then smooths the whole buffer.
void ThinBlocks(char* buffer, const char* more, int32_t blockFrames, const SampleLayout& layout);

// Working arrays of the pitch mode, `fftsample` entries each at most; owned by the playback
// engine and never shared with the FFT thread. Large: allocate once, statically or on the heap.
struct PitchWorkspace {
  int32_t x[kFftMaxSize];
  int32_t Re[kFftMaxSize];
  int32_t Im[kFftMaxSize];
  int32_t Ta[kFftMaxSize];
  int32_t Tb[kFftMaxSize];
  // The output block y, preceded by one entry that stands for y[-1] and stays 0.
  int32_t yRoom[kFftMaxSize + 1];
};

// Pitch one octave down through the spectrum, block by block of `n` samples (`n` a transform
// size from 64 to 32768; any other leaves the buffer as it is). `bufferA` supplies, for each
// block, the byte before the block's offset (whichever buffer is being rewritten). A last block
// that the buffer holds only in part is transformed as if silence followed, and only its part
// inside the buffer is written.
void HalvePitch(char* buffer, int32_t n, const SampleLayout& layout, const char* bufferA, PitchWorkspace& work);
