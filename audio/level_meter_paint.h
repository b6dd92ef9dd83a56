// The level meter's section of the status display's paint: all six meter types, the level text,
// the peak-hold dot, the 0 dB mark and, while the paint owns it, the bar.
#pragma once

#include <cstdint>

#include "audio/level_meter.h"
#include "platform/win32.h"

// The level text row: the formatted level, then blanks up to this many characters.
inline constexpr int kLevelTextLength = 120;

// What the paint keeps from one paint to the next, for the whole process.
struct LevelPaintState {
  int32_t ahead = 0;            // the last bytes-ahead value
  int32_t currentAbsolute = 0;  // |s| of the last frame measured
  PeakHold hold;
  char text[kLevelTextLength + 1] = {};
};

// Draws the level rows (y = 40 to 68) on `offscreen` for the sound at `devicePosition` (bytes
// played since the device opened), with the play buffers of SampleStore. Returns false, drawing
// nothing, when there is no play buffer to read.
bool PaintLevel(HDC offscreen, LevelPaintState& state, DWORD devicePosition, int32_t levelmetertype,
                int32_t leveltimercalareaper);
