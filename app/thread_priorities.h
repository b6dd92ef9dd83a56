// The FFT and spectrogram thread priority commands and their check marks. The threads record a
// handle when they start, through which the main window changes their priority.
#pragma once

#include "platform/win32.h"

// Commands 35, 36, 37: the FFT thread at normal, above normal or highest priority. The level is
// kept even when the system refuses; the marks move only when the change was made.
void ChooseFftThreadPriority(UINT command);
// Commands 59 and 60: the spectrogram thread at normal or above normal priority, likewise.
void ChooseSgThreadPriority(UINT command);
// A play start: both levels back to 0, with the marks of 35 and 59.
void ResetThreadPriorityLevels();
