// The playback engine's hold on the wave-out device: the window it reports to, the settings the
// engine plays by, and the device calls whose results the engine keeps in `lasterror`.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "shared/settings.h"

// Set once by StartPlaybackAtCreation; used on the main window's thread only.
struct PlaybackContext {
  HWND window = nullptr;               // receives the device messages, owns timers 1 and 2
  SettingsRecord* settings = nullptr;  // the program's settings
};
extern PlaybackContext Playback;

// Opens the default device on SampleStore.format, reporting to Playback.window; on success it
// becomes WaveOutDevice. Returns the platform's result.
MMRESULT OpenPlaybackDevice();
// Both headers, after each successful opening.
void PreparePlayHeaders();
// waveOutWrite and waveOutReset on WaveOutDevice, waveOutClose on `device`, each result
// stored in `lasterror`.
MMRESULT WritePlayHeader(WAVEHDR* header);
void ResetPlaybackDevice();
void ClosePlaybackDevice(HWAVEOUT device);
// Bytes played since the device was opened; 0 when it cannot tell.
int32_t PlaybackDevicePosition();
