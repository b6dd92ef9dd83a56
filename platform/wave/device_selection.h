// Which streams waveOutOpen and waveInOpen reach: the system's sound through ALSA (the
// default, with the silent real-time device standing in for missing playback), or a test's
// virtual clock.
#pragma once

#include <memory>

#include "platform/win32/mmsystem.h"
#include "platform/wave/pcm_backend.h"

namespace morvex::wave {

class VirtualClock;

// The system's sound through the named ALSA PCM. When playback cannot be opened on it, the
// silent real-time device stands in, said in one line on standard error the first time; a
// capture that cannot be opened fails with MMSYSERR_NODRIVER.
void UseSystemDevices(const char* pcmName = "default");
// Playback and capture on `clock` (it must outlive every device opened on it).
void UseVirtualClockDevices(VirtualClock* clock);

MMRESULT OpenOutputStream(const PcmFormat& format, std::unique_ptr<PcmOutput>* stream);
MMRESULT OpenInputStream(const PcmFormat& format, std::unique_ptr<PcmInput>* stream);

}  // namespace morvex::wave
