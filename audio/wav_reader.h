// The header of a RIFF/WAVE file: its PCM format, where the samples start and how many bytes
// the data chunk declares.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/win32.h"

// The highest sample rate the program plays; rate times the largest frame (4 bytes) stays far
// inside 32 bits.
inline constexpr int32_t kHighestSampleRate = 1000000;

enum WavHeaderError : int32_t {
  kWavHeaderOk = 0,
  kWavNotRiff = 1,       // the file does not start with "RIFF"
  kWavNotWave = 2,       // no "WAVEfmt " after it, or the chunks end before the data chunk
  kWavNotPcm = 3,        // compressed or floating-point samples
  kWavUnplayable = 4,    // PCM the program cannot play (bits, channels, block size, rates)
};

struct WavHeader {
  int32_t dataSize = 0;    // the data chunk's size field, unchanged
  int32_t fileRate = 0;    // the file's sample rate
  int32_t dataOffset = 0;  // absolute offset of the first sample byte
};

// Reads the header from a stream opened in binary mode at byte 0 and fills `format` (tag 1,
// cbSize 0, the rest from the file). Returns a WavHeaderError; on success `header` is filled and
// the stream stands at the first sample byte. A zero byte after a chunk of odd size is its pad
// and is skipped (`dataOffset` counts it). Never reads outside the file and never loops: every
// chunk skipped moves forward, a chunk reaching past the file's end ends the scan, and the scan
// takes one pass over the file at most, however small its chunks.
int32_t ParseWavHeader(FILE* file, WAVEFORMATEX* format, WavHeader* header);

// The message shown for a WavHeaderError other than kWavHeaderOk.
const char* WavHeaderErrorText(int32_t error);

// ParseWavHeader for the program's source: stores `fileRate` and `dataOffset` in SampleStore and
// returns the data size. On any error it shows the error's message (no owner, empty caption) and
// ends the process with exit code 1.
int32_t ReadWavHeader(FILE* file, WAVEFORMATEX* format);
