// The checks waveOutOpen and waveInOpen share, and the window that hears a device.
#pragma once

#include "platform/win32/mmsystem.h"
#include "platform/wave/pcm_backend.h"

namespace morvex::wave {

// The window a device reports to (CALLBACK_WINDOW).
class DeviceWindow {
 public:
  // MMSYSERR_INVALFLAG for any other kind of callback or flag.
  static MMRESULT FromOpenFlags(DWORD_PTR callback, DWORD flags, DeviceWindow* window);

  void Post(UINT message, WPARAM device, LPARAM param) const;

 private:
  HWND hwnd_ = nullptr;
};

// The arguments of waveOutOpen and waveInOpen: only the default device exists (WAVE_MAPPER or
// id 0); the format is PCM with 8 or 16 bits, 1 or 2 channels, a rate and a matching block
// alignment; the callback is a window.
MMRESULT CheckOpenArguments(UINT deviceId, const WAVEFORMATEX* format, DWORD_PTR callback,
                            DWORD flags, DeviceWindow* window, PcmFormat* pcm);

}  // namespace morvex::wave
