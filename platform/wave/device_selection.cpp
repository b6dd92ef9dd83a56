#include "platform/wave/device_selection.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "platform/wave/silent_output.h"
#include "platform/wave/virtual_clock.h"

namespace morvex::wave {
namespace {

enum class Devices { kSystem, kSilent, kVirtual };

struct Selection {
  std::mutex mutex;
  Devices devices = Devices::kSystem;
  std::string pcmName = "default";
  VirtualClock* clock = nullptr;
};

Selection& Current() {
  static Selection selection;
  return selection;
}

void SayPlayingSilently() {
  static std::once_flag once;
  std::call_once(once, [] {
    std::fputs("morvex: no sound output device; playing silently in real time\n", stderr);
  });
}

}  // namespace

void UseSystemDevices(const char* pcmName) {
  Selection& s = Current();
  std::lock_guard lock(s.mutex);
  s.devices = Devices::kSystem;
  s.pcmName = pcmName;
  s.clock = nullptr;
}

void UseSilentDevices() {
  Selection& s = Current();
  std::lock_guard lock(s.mutex);
  s.devices = Devices::kSilent;
  s.clock = nullptr;
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
  switch (s.devices) {
    case Devices::kVirtual:
      *stream = s.clock->OpenOutput(format);
      return MMSYSERR_NOERROR;
    case Devices::kSystem:
      SayPlayingSilently();
      break;
    case Devices::kSilent:
      break;
  }
  *stream = std::make_unique<SilentOutput>(format);
  return MMSYSERR_NOERROR;
}

MMRESULT OpenInputStream(const PcmFormat& format, std::unique_ptr<PcmInput>* stream) {
  Selection& s = Current();
  std::lock_guard lock(s.mutex);
  if (s.devices == Devices::kVirtual) {
    *stream = s.clock->OpenInput(format);
    return MMSYSERR_NOERROR;
  }
  return MMSYSERR_NODRIVER;
}

}  // namespace morvex::wave
