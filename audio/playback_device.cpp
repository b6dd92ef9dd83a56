#include "audio/playback_device.h"

#include "audio/playback.h"
#include "shared/sample_store.h"

PlaybackContext Playback;

MMRESULT OpenPlaybackDevice() {
  HWAVEOUT device = nullptr;
  const MMRESULT result = waveOutOpen(&device, WAVE_MAPPER, &SampleStore.format,
                                      reinterpret_cast<DWORD_PTR>(Playback.window), 0, CALLBACK_WINDOW);
  if (result == MMSYSERR_NOERROR) WaveOutDevice = device;
  return result;
}

void PreparePlayHeaders() {
  waveOutPrepareHeader(WaveOutDevice, &SampleStore.headerA, sizeof(WAVEHDR));
  waveOutPrepareHeader(WaveOutDevice, &SampleStore.headerB, sizeof(WAVEHDR));
}

MMRESULT WritePlayHeader(WAVEHDR* header) {
  const MMRESULT result = waveOutWrite(WaveOutDevice, header, sizeof(WAVEHDR));
  lasterror = result;
  return result;
}

void ResetPlaybackDevice() { lasterror = waveOutReset(WaveOutDevice); }

void ClosePlaybackDevice(HWAVEOUT device) { lasterror = waveOutClose(device); }

int32_t PlaybackDevicePosition() {
  MMTIME time{};  // format 0: the platform answers with the byte count
  waveOutGetPosition(WaveOutDevice, &time, sizeof time);
  return static_cast<int32_t>(time.u.cb);
}
