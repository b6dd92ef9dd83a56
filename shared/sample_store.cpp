#include "shared/sample_store.h"

#include <algorithm>

SampleStoreRecord SampleStore;

std::atomic<int32_t> playflag{0};
std::atomic<int32_t> eflag{0};
std::atomic<int32_t> buff{0};
std::atomic<int32_t> inputRunning{0};
std::atomic<int32_t> playPaused{0};

char* PlayBufferData(int32_t buffer) {
  switch (buffer) {
    case kPlayBufferA:
      return SampleStore.bufferA;
    case kPlayBufferB:
      return SampleStore.bufferB;
    default:
      return nullptr;
  }
}

int32_t OtherPlayBuffer(int32_t buffer) {
  switch (buffer) {
    case kPlayBufferA:
      return kPlayBufferB;
    case kPlayBufferB:
      return kPlayBufferA;
    default:
      return kNoPlayBuffer;
  }
}

void PlayBufferCopy(char* destination, const char* source, int32_t count) {
  for (int32_t i = 0; i < count; ++i) PlayBufferStore(destination, i, static_cast<unsigned char>(source[i]));
}

PlayPosition ComputePlayPosition(int32_t ahead, int32_t playing, int32_t lastWritten, int32_t blockAlign) {
  // 64-bit, so that no `ahead` a device position can produce overflows on the way.
  const int64_t wide = ahead;
  int32_t buffer = lastWritten;
  int64_t offset;
  if (wide >= kPlayBufferBytes) {
    if (playing == 1) buffer = OtherPlayBuffer(lastWritten);
    offset = kPlayBufferBytes - (wide - kPlayBufferBytes);
  } else {
    offset = kPlayBufferBytes - wide;
  }
  // Below 0 the sound heard is older than both buffers; rounding must not pull it back to 0.
  const bool before = offset < 0;
  if (blockAlign > 0) offset = offset / blockAlign * blockAlign;  // truncating toward zero
  const bool inside = !before && offset < kPlayBufferReadLimit;
  PlayPosition position;
  position.buffer = buffer;
  position.offset = static_cast<int32_t>(std::clamp<int64_t>(offset, INT32_MIN, INT32_MAX));
  position.hasFrames = inside && buffer != kNoPlayBuffer && blockAlign > 0;
  return position;
}

PlayPosition ComputePlayPosition(int32_t ahead) {
  return ComputePlayPosition(ahead, playflag, SampleStore.lastWritten, SampleStore.blockAlign);
}

int32_t AnalysisRateFor(int32_t fileRate, int32_t downrateforfft) {
  if (downrateforfft == 2) return fileRate / 2;
  if (downrateforfft == 4) return fileRate / 4;
  return fileRate;
}
