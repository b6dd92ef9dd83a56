#include "platform/wave/open_params.h"

#include "platform/win32/user.h"

namespace morvex::wave {

namespace {

MMRESULT ToPcmFormat(const WAVEFORMATEX* format, PcmFormat* pcm) {
  if (format == nullptr) return MMSYSERR_INVALPARAM;
  // nAvgBytesPerSec is not checked: callers derive it with their own rounding (a halved odd
  // rate), and the device's timing follows nSamplesPerSec alone.
  bool valid = format->wFormatTag == WAVE_FORMAT_PCM &&
               (format->wBitsPerSample == 8 || format->wBitsPerSample == 16) &&
               (format->nChannels == 1 || format->nChannels == 2) && format->nSamplesPerSec > 0 &&
               format->nBlockAlign == format->nChannels * format->wBitsPerSample / 8;
  if (!valid) return WAVERR_BADFORMAT;
  pcm->rate = format->nSamplesPerSec;
  pcm->channels = format->nChannels;
  pcm->bits = format->wBitsPerSample;
  return MMSYSERR_NOERROR;
}

}  // namespace

MMRESULT DeviceWindow::FromOpenFlags(DWORD_PTR callback, DWORD flags, DeviceWindow* window) {
  if (flags == CALLBACK_WINDOW) {
    window->hwnd_ = reinterpret_cast<HWND>(callback);
    return MMSYSERR_NOERROR;
  }
  return MMSYSERR_INVALFLAG;
}

void DeviceWindow::Post(UINT message, WPARAM device, LPARAM param) const {
  if (hwnd_ != nullptr) PostMessageA(hwnd_, message, device, param);
}

MMRESULT CheckOpenArguments(UINT deviceId, const WAVEFORMATEX* format, DWORD_PTR callback,
                            DWORD flags, DeviceWindow* window, PcmFormat* pcm) {
  if (deviceId != WAVE_MAPPER && deviceId != 0) return MMSYSERR_BADDEVICEID;
  MMRESULT result = DeviceWindow::FromOpenFlags(callback, flags, window);
  if (result != MMSYSERR_NOERROR) return result;
  return ToPcmFormat(format, pcm);
}

}  // namespace morvex::wave
