// The FFT size and radix chosen in the menus take effect only when a source starts: a change
// during playback would pull the analysis and the spectrogram apart.
#pragma once

struct SettingsRecord;

// At a playback or live-input start: a new size clears the spectrogram, rebuilds the window
// function and sets the samples per frame; then the chosen size and radix are the ones in
// effect.
void PutChosenFftSizeInForce(SettingsRecord& settings);
