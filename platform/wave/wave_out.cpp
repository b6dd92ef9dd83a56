// waveOut*: the calls find the device by handle and leave the work to it.
#include "platform/wave/device_selection.h"
#include "platform/wave/handle_table.h"
#include "platform/wave/open_params.h"
#include "platform/wave/output_device.h"

using morvex::wave::OutputDevice;

namespace {

morvex::wave::HandleTable<HWAVEOUT, OutputDevice>& Devices() {
  static morvex::wave::HandleTable<HWAVEOUT, OutputDevice> devices;
  return devices;
}

}  // namespace

MMRESULT waveOutOpen(LPHWAVEOUT phwo, UINT deviceId, LPCWAVEFORMATEX format, DWORD_PTR callback,
                     DWORD_PTR, DWORD flags) {
  if (phwo == nullptr) return MMSYSERR_INVALPARAM;
  morvex::wave::DeviceWindow window;
  morvex::wave::PcmFormat pcm;
  MMRESULT result = morvex::wave::CheckOpenArguments(deviceId, format, callback, flags, &window, &pcm);
  std::unique_ptr<morvex::wave::PcmOutput> stream;
  if (result == MMSYSERR_NOERROR) result = morvex::wave::OpenOutputStream(pcm, &stream);
  if (result != MMSYSERR_NOERROR) return result;
  auto device = std::make_shared<OutputDevice>(window, pcm, std::move(stream));
  HWAVEOUT hwo = Devices().Add(device);
  device->Start(hwo);
  *phwo = hwo;
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutPrepareHeader(HWAVEOUT hwo, LPWAVEHDR header, UINT headerSize) {
  return Devices().WithHeader(hwo, header, headerSize,
                              [](OutputDevice& d, WAVEHDR* h) { return d.Prepare(h); });
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT hwo, LPWAVEHDR header, UINT headerSize) {
  return Devices().WithHeader(hwo, header, headerSize,
                              [](OutputDevice& d, WAVEHDR* h) { return d.Unprepare(h); });
}

MMRESULT waveOutWrite(HWAVEOUT hwo, LPWAVEHDR header, UINT headerSize) {
  return Devices().WithHeader(hwo, header, headerSize,
                              [](OutputDevice& d, WAVEHDR* h) { return d.Write(h); });
}

MMRESULT waveOutReset(HWAVEOUT hwo) {
  return Devices().With(hwo, [](OutputDevice& d) { return d.Reset(); });
}

MMRESULT waveOutPause(HWAVEOUT hwo) {
  return Devices().With(hwo, [](OutputDevice& d) { return d.Pause(); });
}

MMRESULT waveOutRestart(HWAVEOUT hwo) {
  return Devices().With(hwo, [](OutputDevice& d) { return d.Restart(); });
}

MMRESULT waveOutClose(HWAVEOUT hwo) {
  MMRESULT result = Devices().With(hwo, [](OutputDevice& d) { return d.Close(); });
  if (result == MMSYSERR_NOERROR) Devices().Remove(hwo);
  return result;
}

// The program asks with wType 0 and reads a byte count; byte counts are all it gets.
MMRESULT waveOutGetPosition(HWAVEOUT hwo, LPMMTIME time, UINT timeSize) {
  if (time == nullptr || timeSize < sizeof(MMTIME)) return MMSYSERR_INVALPARAM;
  return Devices().With(hwo, [time](OutputDevice& d) {
    int64_t bytes = 0;
    MMRESULT result = d.Position(&bytes);
    if (result != MMSYSERR_NOERROR) return result;
    time->wType = TIME_BYTES;
    time->u.cb = static_cast<DWORD>(bytes);
    return result;
  });
}
