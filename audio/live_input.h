// Live input: records from the default wave-in device (one channel, 16 bits, 44100 Hz) into the
// two play buffers and hands each recorded block to the FFT thread through `inputStage`, so that
// the spectrum, spectrogram and waveform views show what the microphone hears. It runs only while
// file playback is stopped; while it runs the transport commands are refused.
//
// Everything here runs on the main window's thread: the device reports through window messages
// (MM_WIM_OPEN, MM_WIM_DATA, MM_WIM_CLOSE) whose handlers call the On... functions.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"

// The format the device records in, and the source format while input runs.
inline constexpr WAVEFORMATEX kInputFormat = {WAVE_FORMAT_PCM, 1, 44100, 88200, 2, 16, 0};

// 1 once a stop was asked for: the next buffer the device returns closes it.
extern std::atomic<int32_t> inputStop;
// The device opened last (null before the first opening).
extern std::atomic<HWAVEIN> WaveInDevice;

// Commands 107 and 108. StartInput does nothing while a file plays, while a pause waits to be
// resumed or while input runs; a device that cannot be opened is reported ("waveinopen fail")
// and leaves the file's format in place. `mainWindow` receives the device messages.
void StartInput(HWND mainWindow);
void StopInput();

// Device messages; `device` is the message's wParam. Messages of another device are left alone.
void OnInputOpened(HWAVEIN device);
void OnInputData(HWAVEIN device, WAVEHDR* header);
void OnInputClosed(HWAVEIN device);

// Main window destruction: a device still recording is reset and closed, its buffers handed back.
void StopInputAtDestruction();
