#include "analysis/spectrum_block.h"

#include <algorithm>

#include "shared/sample_store.h"
#include "shared/spectrum_view_samples.h"

namespace {

// One sample at byte p: 16 bits signed little-endian, or 8 bits unsigned around 128.
template <int Bits>
int32_t SampleAt(const char* bytes, int32_t p) {
  if constexpr (Bits == 8) {
    return static_cast<int32_t>(PlayBufferLoad(bytes, p)) - 128;
  } else {
    const uint32_t low = PlayBufferLoad(bytes, p);
    const uint32_t high = PlayBufferLoad(bytes, p + 1);
    return static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
  }
}

// The walk over the frames, one instance per sample size and view choice so that the loop
// carries no decisions.
template <int Bits, ViewCopy Views>
int32_t CopyFrames(const char* bytes, int32_t p, int32_t end, int32_t step, int32_t* block, int32_t taken,
                   int32_t count) {
  for (; taken < count && p < end; p += step, ++taken) {
    const int32_t first = SampleAt<Bits>(bytes, p);
    block[taken] = first;
    if constexpr (Views != ViewCopy::None) {
      if (taken < kViewSampleRoom) {
        ViewLeft[taken].store(first, std::memory_order_relaxed);
        if constexpr (Views == ViewCopy::LeftRight) {
          ViewRight[taken].store(SampleAt<Bits>(bytes, p + Bits / 8), std::memory_order_relaxed);
        }
      }
    }
  }
  return taken;
}

template <int Bits>
int32_t CopyFramesOf(ViewCopy views, const char* bytes, int32_t p, int32_t end, int32_t step, int32_t* block,
                     int32_t taken, int32_t count) {
  switch (views) {
    case ViewCopy::LeftRight:
      return CopyFrames<Bits, ViewCopy::LeftRight>(bytes, p, end, step, block, taken, count);
    case ViewCopy::Left:
      return CopyFrames<Bits, ViewCopy::Left>(bytes, p, end, step, block, taken, count);
    case ViewCopy::None:
      break;
  }
  return CopyFrames<Bits, ViewCopy::None>(bytes, p, end, step, block, taken, count);
}

}  // namespace

ViewCopy ViewCopyFor(int32_t channels, int32_t vswindowstop, int32_t wavwindowstop) {
  if (channels == 2 && vswindowstop == 0) return ViewCopy::LeftRight;
  if ((channels == 1 || channels == 2) && wavwindowstop == 0) return ViewCopy::Left;
  return ViewCopy::None;
}

int32_t CopyPlayedFrames(const char* bytes, int32_t offset, const FrameLayout& layout, ViewCopy views, int32_t* block,
                         int32_t taken, int32_t count) {
  const bool knownFormat =
      (layout.channels == 1 || layout.channels == 2) && (layout.bitsPerSample == 8 || layout.bitsPerSample == 16);
  if (!knownFormat || bytes == nullptr || offset < 0) return taken;
  // The bytes a frame's samples occupy; a header whose frame size is smaller would make the walk
  // read past the buffer's end.
  const int32_t used = layout.channels * (layout.bitsPerSample / 8);
  if (layout.blockAlign < used) return taken;
  // The last byte a reader may use is 127999, and a whole frame must lie before the end.
  const int32_t end = std::min(kPlayBufferReadLimit, kPlayBufferBytes - used + 1);
  if (views == ViewCopy::LeftRight && layout.channels != 2) views = ViewCopy::Left;
  if (layout.bitsPerSample == 8) {
    return CopyFramesOf<8>(views, bytes, offset, end, layout.blockAlign, block, taken, count);
  }
  return CopyFramesOf<16>(views, bytes, offset, end, layout.blockAlign, block, taken, count);
}

void DecimateBlock(int32_t* block, int32_t m, int32_t n, int32_t d) {
  for (int32_t i = 0; i < m; ++i) block[i] = block[i * d];
  if (n > m) std::fill(block + m, block + n, 0);
}

void CopyInputBlock(const std::atomic<int32_t>* stage, int32_t m, int32_t* block) {
  const int32_t count = std::clamp(m, 0, std::min(kInputStageEntries / 2, kViewSampleRoom));
  for (int32_t i = 0; i < count; ++i) {
    const uint32_t low = static_cast<uint32_t>(stage[2 * i].load(std::memory_order_relaxed)) & 0xFF;
    const uint32_t high = static_cast<uint32_t>(stage[2 * i + 1].load(std::memory_order_relaxed)) & 0xFF;
    const int32_t sample = static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
    block[i] = sample;
    ViewLeft[i].store(sample, std::memory_order_relaxed);
  }
}
