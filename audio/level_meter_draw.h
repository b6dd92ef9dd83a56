// Drawing the level meter's bar and 0 dB mark. The status display's paint and the level meter
// thread draw them on the same off-screen context; the line drawing here keeps each
// MoveToEx / LineTo pair together, so that neither moves the other's pen in between.
#pragma once

#include <cstdint>

#include "platform/win32.h"

// The bar of `units` units along y = 68 from x = 120 (its end point excluded).
void DrawLevelBar(HDC dc, int32_t units);
// The 0 dB mark's line from (x, 67) up to y = 60 (excluded).
void DrawZeroDecibelLine(HDC dc, int32_t bitsPerSample);
