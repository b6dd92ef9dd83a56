// The transport commands: play, pause, stop, the 5-second jumps, the raw device pause and
// restart, the resume after a jump, and the stop when the main window goes away.
#include <climits>
#include <cstdio>

#include "app/thread_priorities.h"
#include "audio/level_meter.h"
#include "audio/playback.h"
#include "audio/playback_device.h"
#include "audio/playback_fft_size.h"
#include "shared/playback_rate.h"
#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/sg_control.h"
#include "shared/shortcut_marker.h"
#include "shared/view_threads.h"

namespace {

constexpr int32_t kJumpSeconds = 5;
constexpr UINT kResumeDelayMs = 100;

// Moves `seekBase` by `delta` bytes, never below 0 and never so far that the file offset
// dataOffset + seekBase leaves the 32-bit range.
void MoveSeekBase(int64_t delta) {
  const int64_t limit = INT32_MAX - static_cast<int64_t>(SampleStore.dataOffset);
  int64_t moved = SampleStore.seekBase + delta;
  if (moved < 0) moved = 0;
  if (moved > limit) moved = limit;
  SampleStore.seekBase = static_cast<int32_t>(moved);
}

void SeekSource(int32_t position) {
  std::fseek(SampleStore.file, static_cast<long>(SampleStore.dataOffset) + position, SEEK_SET);
}

// What a pause and a jump share: the place heard now becomes the place to continue from, and
// the device hands its buffers back.
void InterruptPlayback() {
  MoveSeekBase(PlaybackDevicePosition());
  playflag = 0;
  eflag = 1;
  buff = 0;
  ResetPlaybackDevice();
}

// A jump of 5 seconds of the current format's bytes, rounded down to whole frames so that the
// file is never entered inside a frame (half the rate of an odd-rate file is not a whole
// number of frames per second).
void Jump(int32_t direction) {
  if (inputRunning == 1) return;
  const bool wasPlaying = playflag == 1;
  if (wasPlaying) {
    InterruptPlayback();
    ClosePlaybackDevice(WaveOutDevice);
  }
  const int64_t blockAlign = SampleStore.blockAlign > 0 ? SampleStore.blockAlign : 1;
  const int64_t bytes = int64_t{kJumpSeconds} * SampleStore.format.nAvgBytesPerSec / blockAlign * blockAlign;
  MoveSeekBase(direction * bytes);
  SeekSource(SampleStore.seekBase);
  resumePending = 1;
  if (wasPlaying) SetTimer(Playback.window, kResumeTimer, kResumeDelayMs, nullptr);
}

}  // namespace

void Play() {
  if (inputRunning == 1 || playflag == 1) return;
  SettingsRecord& settings = *Playback.settings;
  ResetThreadPriorityLevels();
  endCount = 0;
  if (endOfDataMarker == 1) SgControl.endOfData = 0;
  if (resumePending == 0) {
    SeekSource(0);
    SampleStore.writtenEnd = 0;
  } else {
    SeekSource(SampleStore.seekBase);
    resumePending = 0;
    SampleStore.writtenEnd = SampleStore.seekBase.load();
  }
  ApplyPlaybackRate(&SampleStore.format, SampleStore.fileRate, settings.playfreqoptional, speedHalf);
  const MMRESULT result = OpenPlaybackDevice();
  if (result != MMSYSERR_NOERROR) {
    char text[64];
    std::snprintf(text, sizeof text, "dont open wave device.\nerrorcode=%d", static_cast<int>(result));
    MessageBoxA(nullptr, text, "", MB_OK);
    return;
  }
  PreparePlayHeaders();
  playflag = 1;
  eflag = 0;
  levelHold = 0;
  buff = 0;
  PutChosenFftSizeInForce(settings);
  StartViewThreads(ViewStart::Playback);
}

void Pause() {
  if (inputRunning == 1 || playflag == 0) return;
  resumePending = 1;
  playPaused = 1;
  InterruptPlayback();
}

void Stop() {
  if (inputRunning == 1) return;
  eflag = 1;
  playflag = 0;
  playPaused = 0;
  SampleStore.seekBase = 0;
  RequestFreshSpectrogram();
  ResetPlaybackDevice();
}

void SeekBack5s() { Jump(-1); }

void SeekForward5s() { Jump(1); }

void DevicePause() { lasterror = waveOutPause(WaveOutDevice); }

void DeviceRestart() { lasterror = waveOutRestart(WaveOutDevice); }

void OnResumeTimer(HWND mainWindow) {
  PostMessageA(mainWindow, WM_CHAR, 'p', ShortcutMarker);
  KillTimer(mainWindow, kResumeTimer);
}

// The close request has usually cleared `playflag` already; the device is reset and closed
// whenever one is open, so that nothing plays on while the settings are written. Calls on a
// device closed before only return an error.
void StopPlaybackAtDestruction() {
  if (playflag == 1) {
    eflag = 1;
    playflag = 0;
  }
  if (WaveOutDevice.load() == nullptr) return;
  ResetPlaybackDevice();
  ClosePlaybackDevice(WaveOutDevice);
}
