// A screen-sized memory surface, compatible with a window's context, white, with a font: the
// off-screen pictures of the FFT and spectrogram windows; and the text font they are drawn with.
#pragma once

#include "platform/win32.h"

// `font` none keeps the default font. The bitmap stays selected; the caller deletes both.
HDC CreateScreenSurface(HDC windowDc, HFONT font, HBITMAP* bitmap);
// The same of `width` by `height` pixels.
HDC CreateSurface(HDC windowDc, HFONT font, int width, int height, HBITMAP* bitmap);

// The text font: 80 % of the height of the default font of `dc`, truncated.
HFONT CreateTextFont(HDC dc);
