// 16-bit stereo play buffers filled frame by frame, for the tests that read them back.
#pragma once

#include <cstdint>

#include "shared/sample_store.h"

namespace playfill {

// Every frame f of a play buffer from left(f), the right channel its negative.
template <typename Left>
void FillStereo(char* buffer, Left left) {
  for (int32_t f = 0; f < kPlayBufferBytes / 4; ++f) {
    const auto l = static_cast<uint16_t>(left(f));
    const auto r = static_cast<uint16_t>(-left(f));
    buffer[4 * f] = static_cast<char>(l & 0xFF);
    buffer[4 * f + 1] = static_cast<char>(l >> 8);
    buffer[4 * f + 2] = static_cast<char>(r & 0xFF);
    buffer[4 * f + 3] = static_cast<char>(r >> 8);
  }
}

}  // namespace playfill
