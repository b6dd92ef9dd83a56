// The view threads of every kind plugged into the starts: the application is the one part of the
// program that knows all of them.
#pragma once

// Main window creation, before its first start: the level meter, FFT, spectrogram, vectorscope and
// waveform threads, each with its row of the start table.
void PlugInViewThreads();
