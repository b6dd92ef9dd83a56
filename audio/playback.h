// The playback engine: streams the open WAV file through the two play buffers to the wave-out
// device, refilling each buffer the device hands back, with the speed and pitch modes applied.
//
// Everything here runs on the main window's thread: the device reports through window messages
// (MM_WOM_OPEN, MM_WOM_DONE, MM_WOM_CLOSE) whose handlers call the On... functions, and the
// transport commands arrive as key characters or menu commands.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"

struct SettingsRecord;

// The device opened last (null before the first opening). The view threads ask it for the
// play position.
extern std::atomic<HWAVEOUT> WaveOutDevice;

// 1 after a pause or seek: the next play continues at `seekBase` instead of the beginning.
extern std::atomic<int32_t> resumePending;
// Buffers that came back after the end of the file was reached; reset by play.
extern std::atomic<int32_t> endCount;
// Result code of the last waveOutWrite, Reset, Pause, Restart or Close (0 = success).
extern std::atomic<uint32_t> lasterror;
// The last error text the debug menu shows ("" until a paint finds no play buffer).
extern std::atomic<const char*> lastErrorText;

// Playback modes, 0 or 1 each. The two double-speed modes exclude each other in the menus;
// pitchHalf combines with either. speedHalf takes effect at the next play start.
extern std::atomic<int32_t> speedDoubleDecimate;  // every second frame
extern std::atomic<int32_t> speedDoubleBlocks;    // every second block dropped
extern std::atomic<int32_t> pitchHalf;            // one octave down through the spectrum
extern std::atomic<int32_t> speedHalf;            // the device at half the file's rate

// The main window's timers that playback starts: 1 repaints the status display while a source
// runs, 2 resumes playback after a jump.
inline constexpr UINT_PTR kRepaintTimer = 1;
inline constexpr UINT_PTR kResumeTimer = 2;

// Main window creation, after the file is open and the view windows exist: opens the device on
// the file's own format and starts the view threads. `mainWindow` receives the device messages
// and owns timers 1 and 2, and `settings` (the program's settings) are what playback plays by,
// for this and every later start. A device that cannot be opened ends the process with exit
// code 1.
void StartPlaybackAtCreation(HWND mainWindow, SettingsRecord* settings);

// Transport commands (keys p, t, s, g, h, b, n and the menus that post them).
void Play();           // ignored while live input runs or while playing
void Pause();          // ignored while live input runs or while not playing
void Stop();           // ignored while live input runs
void SeekBack5s();     // ignored while live input runs
void SeekForward5s();  // ignored while live input runs
void DevicePause();    // waveOutPause on the open device; no state changes
void DeviceRestart();  // waveOutRestart on the open device; no state changes

// Device messages; `device` is the message's wParam. Messages of a device other than the one
// opened last are left alone: they cannot concern the current buffers.
void OnDeviceOpened(HWAVEOUT device);
void OnBufferDone(HWAVEOUT device, WAVEHDR* header);
void OnDeviceClosed(HWAVEOUT device);

// Timer 2's tick: posts the play command to `mainWindow`, then stops the timer.
void OnResumeTimer(HWND mainWindow);

// Main window destruction: playback stops and a device still open is reset and closed.
void StopPlaybackAtDestruction();
