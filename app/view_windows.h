// Showing and hiding the spectrogram, vectorscope and waveform windows from the main window's
// commands (64, 65, 76), and resuming the spectrogram's updates (53), with their check marks.
#pragma once

#include "platform/win32.h"

// Command 64: hides the spectrogram (its thread ends at its next loop) or shows it with a fresh
// picture and a new thread.
void ToggleSpectrogramWindow();
// Commands 65 and 76: hide the window (its thread ends by itself) or show it with a new thread,
// letting the process run at idle priority until timer 4 (1000 ms) puts it back.
void ToggleVectorscopeWindow(HWND mainWindow);
void ToggleWaveformWindow(HWND mainWindow);
// Command 53: stops the spectrogram's updates, or resumes them with a new thread that goes on
// with the picture as it is.
void ToggleSpectrogramUpdates();
