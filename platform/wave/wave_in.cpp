// waveIn*: the calls find the device by handle and leave the work to it.
#include "platform/wave/device_selection.h"
#include "platform/wave/handle_table.h"
#include "platform/wave/input_device.h"
#include "platform/wave/open_params.h"

using morvex::wave::InputDevice;

namespace {

morvex::wave::HandleTable<HWAVEIN, InputDevice>& Devices() {
  static morvex::wave::HandleTable<HWAVEIN, InputDevice> devices;
  return devices;
}

}  // namespace

MMRESULT waveInOpen(LPHWAVEIN phwi, UINT deviceId, LPCWAVEFORMATEX format, DWORD_PTR callback,
                    DWORD_PTR, DWORD flags) {
  if (phwi == nullptr) return MMSYSERR_INVALPARAM;
  morvex::wave::DeviceWindow window;
  morvex::wave::PcmFormat pcm;
  MMRESULT result = morvex::wave::CheckOpenArguments(deviceId, format, callback, flags, &window, &pcm);
  std::unique_ptr<morvex::wave::PcmInput> stream;
  if (result == MMSYSERR_NOERROR) result = morvex::wave::OpenInputStream(pcm, &stream);
  if (result != MMSYSERR_NOERROR) return result;
  auto device = std::make_shared<InputDevice>(window, pcm, std::move(stream));
  HWAVEIN hwi = Devices().Add(device);
  device->Start(hwi);
  *phwi = hwi;
  return MMSYSERR_NOERROR;
}

MMRESULT waveInPrepareHeader(HWAVEIN hwi, LPWAVEHDR header, UINT headerSize) {
  return Devices().WithHeader(hwi, header, headerSize,
                              [](InputDevice& d, WAVEHDR* h) { return d.Prepare(h); });
}

MMRESULT waveInUnprepareHeader(HWAVEIN hwi, LPWAVEHDR header, UINT headerSize) {
  return Devices().WithHeader(hwi, header, headerSize,
                              [](InputDevice& d, WAVEHDR* h) { return d.Unprepare(h); });
}

MMRESULT waveInAddBuffer(HWAVEIN hwi, LPWAVEHDR header, UINT headerSize) {
  return Devices().WithHeader(hwi, header, headerSize,
                              [](InputDevice& d, WAVEHDR* h) { return d.AddBuffer(h); });
}

MMRESULT waveInStart(HWAVEIN hwi) {
  return Devices().With(hwi, [](InputDevice& d) { return d.StartRecording(); });
}

MMRESULT waveInReset(HWAVEIN hwi) {
  return Devices().With(hwi, [](InputDevice& d) { return d.Reset(); });
}

MMRESULT waveInClose(HWAVEIN hwi) {
  MMRESULT result = Devices().With(hwi, [](InputDevice& d) { return d.Close(); });
  if (result == MMSYSERR_NOERROR) Devices().Remove(hwi);
  return result;
}
