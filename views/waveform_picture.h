// The waveform's picture: the first channel of the frame as a line graph, positive samples
// upward, either one sample per column from the frame's start or the whole FFT frame squeezed
// into the window's width.
#pragma once

#include <cstdint>

#include "platform/win32.h"

struct WavScales {
  int32_t width = 0;   // client size
  int32_t height = 0;
  int32_t middle = 0;  // the row of the sample 0
  float scale = 1.0f;  // pixels per sample unit
  int32_t step = 0;    // samples per column of the squeezed frame; 0 while the window has no width
};

// New scales for a client of `width` by `height`, `bits` per sample and `fftsample` in effect.
// Sample sizes other than 8 and 16 bits keep the scale of `previous`.
WavScales ComputeWavScales(const WavScales& previous, int32_t width, int32_t height, int32_t bits, int32_t fftsample);

// The row of the sample value `v`.
int32_t WavRow(const WavScales& scales, int32_t v);

// How many samples a picture reads: the client width, or the whole FFT frame when squeezed;
// never more than the views hold.
int32_t WavSampleCount(const WavScales& scales, int32_t fftsample, int32_t squeezed);

// Erases the client area of `dc` to white (the default black pen and white brush selected) and
// draws `samples`: one per column when `squeezed` is 0, else every `step`-th of the first
// `fftsample`. Nothing is drawn into a window without width.
void DrawWaveformPicture(HDC dc, const WavScales& scales, const int32_t* samples, int32_t fftsample, int32_t squeezed);
