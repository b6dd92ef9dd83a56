// The spectrum the FFT thread publishes after each analysis cycle, for the spectrogram thread and
// the main window's peak and spectrum-list commands.
//
// No lock: the spectrum is double-buffered. The FFT thread writes the slot that is not published,
// then publishes it by switching `front`, then sets `ready`. Each slot carries a sequence count
// that is odd while the slot is being written. A reader copies the published slot and checks that
// the count did not change meanwhile; a reader slow enough to be overtaken (the producer finished
// another whole cycle and began rewriting the same slot) sees the change and copies the newer
// spectrum instead. A copy is therefore always one cycle's spectrum, never a mixture, and the
// producer never waits for a reader. Elements are relaxed atomics, so the overtaken copy that is
// thrown away is not a data race either.
#pragma once

#include <atomic>
#include <cstdint>

// Room for the largest transform, 32768 bins.
inline constexpr int32_t kSpectrumRoom = 32768;

struct SpectrumSlot {
  std::atomic<uint32_t> sequence{0};  // odd while the FFT thread writes this slot
  std::atomic<int32_t> count{0};      // bins in this slot: the transform size N of its cycle
  std::atomic<int32_t> bins[kSpectrumRoom];
};

struct SharedSpectrumRecord {
  // 1 once a cycle's spectrum is final; the spectrogram thread waits for 1, draws, and sets 0.
  // The FFT thread publishes its next spectrum whether or not the flag was cleared.
  std::atomic<int32_t> ready{0};
  std::atomic<int32_t> front{0};  // the published slot
  SpectrumSlot slots[2];
};

// The program's one published spectrum.
extern SharedSpectrumRecord SharedSpectrum;

// FFT thread only: makes bins[0 ... count-1] (count at most kSpectrumRoom) the published spectrum,
// then sets `ready`.
void PublishSpectrum(const int32_t* bins, int32_t count);

// Any thread: copies the first min(room, N) bins of the spectrum published last into `out` and
// returns its N (0 before the first publication). bins[k] is the magnitude at frequency k·R/N.
int32_t CopySpectrum(int32_t* out, int32_t room);
