// The FFT, waveform and (two channels) vectorscope pictures at one moment of the sound, drawn by
// the views' own picture functions into surfaces of their windows' client sizes.
#pragma once

#include <string>

#include "platform/win32.h"
#include "render/render_surface.h"

struct ViewSizes {
  ClientSize fft;
  ClientSize waveform;
  ClientSize vectorscope;
};

// The client sizes of the settings' windows, or all `forced` when it is not 0 by 0.
ViewSizes ChooseViewSizes(ClientSize forced);

// The name a moment gets in the file names: the shortest decimal form of `seconds` ("1.5", "2").
std::string MomentName(double seconds);

// Analyses the frame heard `seconds` into the sound and writes fft-T.png, waveform-T.png and,
// for two channels, vectorscope-T.png into `outDir`. Returns "" or what could not be written.
std::string RenderViewsAt(double seconds, const ViewSizes& sizes, HFONT font, const std::string& outDir);
