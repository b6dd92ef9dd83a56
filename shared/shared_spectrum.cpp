#include "shared/shared_spectrum.h"

#include <algorithm>

#include "platform/win32.h"

SharedSpectrumRecord SharedSpectrum;

void PublishSpectrum(const int32_t* bins, int32_t count) {
  const int32_t n = std::clamp(count, 0, kSpectrumRoom);
  const int32_t back = 1 - SharedSpectrum.front.load(std::memory_order_relaxed);
  SpectrumSlot& slot = SharedSpectrum.slots[back];
  const uint32_t sequence = slot.sequence.load(std::memory_order_relaxed);
  slot.sequence.store(sequence + 1, std::memory_order_relaxed);
  // Release stores: a reader that takes any of these values (by an acquire load) also sees the
  // odd count when it looks again after its copy. On x86 they are plain stores.
  slot.count.store(n, std::memory_order_release);
  for (int32_t k = 0; k < n; ++k) slot.bins[k].store(bins[k], std::memory_order_release);
  slot.sequence.store(sequence + 2, std::memory_order_release);
  SharedSpectrum.front.store(back, std::memory_order_release);
  SharedSpectrum.ready.store(1, std::memory_order_release);
  // The spectrogram thread sleeps on the flag rather than polling it.
  WakeByAddressAll(&SharedSpectrum.ready);
}

int32_t CopySpectrum(int32_t* out, int32_t room) {
  for (;;) {
    const SpectrumSlot& slot = SharedSpectrum.slots[SharedSpectrum.front.load(std::memory_order_acquire)];
    const uint32_t sequence = slot.sequence.load(std::memory_order_acquire);
    // Odd: the producer overtook us between the two loads and is rewriting this slot; the other
    // slot is now the published one.
    if ((sequence & 1) != 0) continue;
    // Acquire loads: the second look at the count below cannot come before them.
    const int32_t count = slot.count.load(std::memory_order_acquire);
    const int32_t n = std::clamp(room, 0, count);
    for (int32_t k = 0; k < n; ++k) out[k] = slot.bins[k].load(std::memory_order_acquire);
    if (slot.sequence.load(std::memory_order_relaxed) == sequence) return count;
  }
}
