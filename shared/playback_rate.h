// The sample rate a playback start opens the device with.
#pragma once

#include <cstdint>

#include "platform/win32.h"

// Writes the playback rate into `format`: `playfreqoptional` when it is not 0, otherwise half
// the file's rate when `speedHalf` is 1, otherwise the file's own rate; the bytes per second
// follow from the frame size.
void ApplyPlaybackRate(WAVEFORMATEX* format, int32_t fileRate, int32_t playfreqoptional, int32_t speedHalf);

// The bytes per second a playback start last wrote into `format`, for the threads that read it
// while the user-interface thread may be starting playback again.
DWORD PlaybackBytesPerSecond(const WAVEFORMATEX& format);
