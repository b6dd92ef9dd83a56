#include "platform/wave/device_selection.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "platform/wave/alsa_input.h"
#include "platform/wave/alsa_output.h"
#include "platform/wave/alsa_pcm.h"
#include "platform/wave/silent_output.h"
#include "platform/wave/virtual_clock.h"

namespace morvex::wave {
namespace {

enum class Devices { kSystem, kVirtual };

struct Selection {
  std::mutex mutex;
  Devices devices = Devices::kSystem;
  std::string pcmName = "default";
  VirtualClock* clock = nullptr;
  bool saidSilent = false;  // the fallback to the silent device is announced once
};

Selection& Current() {
  static Selection selection;
  return selection;
}

MMRESULT OpenAlsaOutput(Selection& s, const PcmFormat& format, std::unique_ptr<PcmOutput>* stream) {
  std::unique_ptr<AlsaPcm> pcm;
  int alsaError = 0;
  MMRESULT result = OpenAlsaPcm(s.pcmName.c_str(), SND_PCM_STREAM_PLAYBACK, format, &pcm, &alsaError);
  if (result == MMSYSERR_NODRIVER) {
    if (!s.saidSilent) {
      std::fprintf(stderr, "morvex: no sound output device (ALSA \"%s\": %s); playing silently in real time\n",
                   s.pcmName.c_str(), snd_strerror(alsaError));
      s.saidSilent = true;
    }
    *stream = std::make_unique<SilentOutput>(format);
    return MMSYSERR_NOERROR;
  }
  if (result != MMSYSERR_NOERROR) return result;
  auto output = std::make_unique<AlsaOutput>(std::move(pcm), format);
  if (!output->Usable()) return MMSYSERR_NOMEM;
  *stream = std::move(output);
  return MMSYSERR_NOERROR;
}

MMRESULT OpenAlsaInput(const std::string& pcmName, const PcmFormat& format,
                       std::unique_ptr<PcmInput>* stream) {
  std::unique_ptr<AlsaPcm> pcm;
  int alsaError = 0;
  MMRESULT result = OpenAlsaPcm(pcmName.c_str(), SND_PCM_STREAM_CAPTURE, format, &pcm, &alsaError);
  if (result != MMSYSERR_NOERROR) return result;
  auto input = std::make_unique<AlsaInput>(std::move(pcm));
  if (!input->Usable()) return MMSYSERR_NOMEM;
  *stream = std::move(input);
  return MMSYSERR_NOERROR;
}

}  // namespace

void UseSystemDevices(const char* pcmName) {
  Selection& s = Current();
  std::lock_guard lock(s.mutex);
  s.devices = Devices::kSystem;
  s.pcmName = pcmName;
  s.clock = nullptr;
  s.saidSilent = false;
}

void UseVirtualClockDevices(VirtualClock* clock) {
  Selection& s = Current();
  std::lock_guard lock(s.mutex);
  s.devices = Devices::kVirtual;
  s.clock = clock;
}

MMRESULT OpenOutputStream(const PcmFormat& format, std::unique_ptr<PcmOutput>* stream) {
  Selection& s = Current();
  std::lock_guard lock(s.mutex);
  if (s.devices == Devices::kVirtual) {
    *stream = s.clock->OpenOutput(format);
    return MMSYSERR_NOERROR;
  }
  return OpenAlsaOutput(s, format, stream);
}

MMRESULT OpenInputStream(const PcmFormat& format, std::unique_ptr<PcmInput>* stream) {
  Selection& s = Current();
  std::lock_guard lock(s.mutex);
  if (s.devices == Devices::kVirtual) {
    *stream = s.clock->OpenInput(format);
    return MMSYSERR_NOERROR;
  }
  return OpenAlsaInput(s.pcmName, format, stream);
}

}  // namespace morvex::wave
