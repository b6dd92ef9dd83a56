// A screen-sized memory surface, compatible with a window's context, white, with a font: the
// off-screen pictures of the FFT and spectrogram windows.
#pragma once

#include "platform/win32.h"

// `font` none keeps the default font. The bitmap stays selected; the caller deletes both.
HDC CreateScreenSurface(HDC windowDc, HFONT font, HBITMAP* bitmap);
