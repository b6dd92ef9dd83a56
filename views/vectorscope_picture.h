// The vectorscope's picture: each sample pair of the frame is one point, the second channel
// across and the first channel up, joined by lines or set as single black pixels.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"

struct VsScales {
  int32_t width = 0;   // client size
  int32_t height = 0;
  float xScale = 0.0f;  // pixels per sample unit
  float yScale = 0.0f;
  int32_t centreX = 0;
  int32_t centreY = 0;
  int32_t count = 0;  // points drawn per picture
};

// The scales for a client of `width` by `height`, a source of `fullScale` (2 to the bits per
// sample), and `fftsample` and `vecscpsample` as in effect; no more points than the views hold.
VsScales ComputeVsScales(int32_t width, int32_t height, int32_t fullScale, int32_t fftsample, int32_t vecscpsample);

// The point of the sample pair (`left`, `right`).
POINT VsPoint(const VsScales& scales, int32_t left, int32_t right);

// Erases the client area of `dc` to white (the default black pen and the white brush selected),
// then draws the first `scales.count` pairs of `left` and `right`: lines through every point
// when `lineMode` is 1, otherwise the pixels of points 1 onwards.
void DrawVectorscopePicture(HDC dc, const VsScales& scales, const std::atomic<int32_t>* left,
                            const std::atomic<int32_t>* right, int32_t lineMode);
