#include "audio/playback_transforms.h"

#include <algorithm>
#include <cmath>

#include "analysis/fft_arith.h"
#include "audio/playback_exchange.h"
#include "shared/sample_store.h"

namespace {

// 16-bit samples are read and written byte by byte: the buffers carry no alignment, and bytes
// are what the other threads read concurrently.
int32_t LoadSample16(const char* at) {
  const auto low = static_cast<uint16_t>(static_cast<unsigned char>(at[0]));
  const auto high = static_cast<uint16_t>(static_cast<unsigned char>(at[1]));
  return static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
}

void StoreSample16(char* buffer, int32_t index, int32_t value) {
  const auto bits = static_cast<uint16_t>(value);  // outside the 16-bit range the value wraps
  PlayBufferStore(buffer, index, static_cast<unsigned char>(bits & 0xFF));
  PlayBufferStore(buffer, index + 1, static_cast<unsigned char>(bits >> 8));
}

void CopyFrame(char* buffer, int32_t to, const char* source, int32_t from, int32_t blockAlign) {
  for (int32_t b = 0; b < blockAlign; ++b) {
    PlayBufferStore(buffer, to + b, static_cast<unsigned char>(source[from + b]));
  }
}

// Appends the kept frames of `source`'s block pairs at `*out`: frames 1 .. L-1 of each pair's
// first block (1 .. L for 8-bit one-channel data). A frame is taken only if it lies wholly
// inside the source's 128000 bytes, and only while the buffer is not full.
void PackKeptFrames(char* buffer, int32_t* out, const char* source, int32_t blockFrames, const SampleLayout& layout) {
  const int64_t bA = layout.blockAlign;
  const int64_t lastKept = (layout.bitsPerSample == 8 && layout.channels == 1) ? blockFrames : blockFrames - 1;
  const int64_t pairBytes = 2 * blockFrames * bA;
  for (int64_t pair = 0; pair < kPlayBufferBytes; pair += pairBytes) {
    for (int64_t frame = 1; frame <= lastKept; ++frame) {
      const int64_t at = pair + frame * bA;
      if (at + bA > kPlayBufferBytes || *out >= kPlayBufferBytes) return;
      CopyFrame(buffer, *out, source, static_cast<int32_t>(at), layout.blockAlign);
      *out += layout.blockAlign;
    }
  }
}

// Each sample from the second frame on becomes the mean of itself and the same channel's
// sample one frame earlier, that one already smoothed. The first frame has no predecessor and
// stays as it is (for two-channel 8-bit data too).
void SmoothFrames(char* buffer, const SampleLayout& layout) {
  const int32_t bA = layout.blockAlign;
  if (layout.bitsPerSample == 8) {
    for (int32_t i = bA; i < kPlayBufferBytes; ++i) {
      const unsigned a = static_cast<unsigned char>(buffer[i]);
      const unsigned b = static_cast<unsigned char>(buffer[i - bA]);
      PlayBufferStore(buffer, i, static_cast<unsigned char>((a + b) >> 1));
    }
    return;
  }
  for (int32_t i = bA; i < kPlayBufferBytes; i += 2) {
    StoreSample16(buffer, i, (LoadSample16(buffer + i) + LoadSample16(buffer + i - bA)) / 2);
  }
}

bool IsPitchBlockSize(int32_t n) { return n >= 64 && n <= kFftMaxSize && (n & (n - 1)) == 0; }

// Step 1 of a pitch block: `count` samples, then silence up to n.
void LoadPitchBlock(int32_t* x, const char* samples, int32_t count, int32_t n, int32_t bits) {
  for (int32_t i = 0; i < count; ++i) {
    x[i] = bits == 8 ? static_cast<unsigned char>(samples[i]) - 128 : LoadSample16(samples + 2 * i);
  }
  std::fill(x + count, x + n, 0);
}

double HalfSineAt(int32_t i, int32_t n) { return std::sin(static_cast<double>(kPi) * i / n); }

// Step 4: the spectrum compressed by two into Ta/Tb, then back into Re/Im.
void CompressSpectrum(PitchWorkspace& w, int32_t n) {
  std::fill(w.Ta, w.Ta + n, 0);
  std::fill(w.Tb, w.Tb + n, 0);
  for (int32_t i = 0; i < n / 2; ++i) {
    const int32_t half = i / 2;
    w.Ta[half] = WrapAdd(w.Ta[half], w.Re[i]);
    w.Tb[half] = WrapAdd(w.Tb[half], w.Im[i]);
    if (n - half < n) {
      w.Ta[n - half] = WrapAdd(w.Ta[n - half], w.Re[n - i]);
      w.Tb[n - half] = WrapAdd(w.Tb[n - half], w.Im[n - i]);
    }
  }
  std::copy(w.Ta, w.Ta + n, w.Re);
  std::copy(w.Tb, w.Tb + n, w.Im);
  w.Re[0] = 0;
  w.Im[0] = 0;
}

// y[i-2] + ... + y[i+2], wrapping like every 32-bit sum of the path; y[-1] reads as 0.
int32_t FiveTermSum(const int32_t* y, int32_t i) {
  return WrapAdd(WrapAdd(WrapAdd(y[i - 2], y[i - 1]), WrapAdd(y[i], y[i + 1])), y[i + 2]);
}

void SmoothPitchBlock(int32_t* y, int32_t n) {
  for (int32_t i = 1; i < n / 10 - 2; ++i) y[i] = FiveTermSum(y, i) / 5;
  for (int32_t i = n - n / 10; i < n - 2; ++i) y[i] = FiveTermSum(y, i) / 4;
  for (int32_t i = 1; i < n - 2; ++i) y[i] = FiveTermSum(y, i) / 5;
  for (int32_t i = 1; i < n - 1; ++i) y[i] = WrapAdd(WrapAdd(y[i - 1], y[i]), y[i + 1]) / 3;
}

// Steps 2 to 10: from the block in x to the output block y. `before` is the byte preceding the
// block, or -1 when there is none (y[0] then keeps its value).
void PitchBlock(PitchWorkspace& w, int32_t n, int32_t bits, int32_t before) {
  int32_t* x = w.x;
  int32_t* y = w.yRoom + 1;
  w.yRoom[0] = 0;
  for (int32_t i = 0; i < n; ++i) x[i] = TruncToInt32(x[i] * HalfSineAt(i, n));
  FftRadix2Direct(x, n, w.Im, w.Re, w.Ta, w.Tb);
  CompressSpectrum(w, n);
  FftComplexRadix2(n, w.Im, w.Re, w.Ta, w.Tb, kTwoPi / static_cast<float>(n));
  for (int32_t i = 0; i < n; ++i) y[i] = WrapAdd(w.Im[i], w.Re[i]);
  for (int32_t i = 0; i < n; ++i) y[i] = TruncToInt32(y[i] * (1.0 - 0.7 * HalfSineAt(i, n)));
  const int32_t ninth = n / 9;
  for (int32_t i = 0; i <= ninth; ++i) y[i] = TruncToInt32(y[i] * (1.8 - i / ninth));
  if (bits == 16) {
    for (int32_t i = 1; i < n / 30; ++i) y[i] = WrapAdd(y[i], y[i]);
    for (int32_t i = n - n / 30; i < n; ++i) y[i] = WrapAdd(y[i], y[i]);
  }
  if (before >= 0) y[0] = WrapAdd(y[0], before) / 2;
  SmoothPitchBlock(y, n);
}

// Step 11 for the `count` samples the buffer holds.
void StorePitchBlock(char* out, int32_t count, int32_t n, int32_t bits, const int32_t* y) {
  for (int32_t i = 0; i < count; ++i) {
    const int32_t value = 2 * (y[i] / n);
    if (bits == 8) {
      PlayBufferStore(out, i, static_cast<unsigned char>(value + 128));
    } else {
      StoreSample16(out, 2 * i, value);
    }
  }
}

}  // namespace

void DecimateFrames(char* out, const char* in, int32_t blockAlign) {
  PlayBufferRewrite rewrite;
  for (int32_t o = 0, i = 0; o < kDecimatedBytes; o += blockAlign, i += 2 * blockAlign) {
    CopyFrame(out, o, in, i, blockAlign);
  }
}

int32_t ThinningBlockFrames(int32_t fileRate, int32_t blocksPerSecond) {
  return std::max(1, fileRate / std::max(1, blocksPerSecond));
}

void ThinBlocks(char* buffer, const char* more, int32_t blockFrames, const SampleLayout& layout) {
  PlayBufferRewrite rewrite;
  int32_t out = 0;
  PackKeptFrames(buffer, &out, buffer, blockFrames, layout);
  PackKeptFrames(buffer, &out, more, blockFrames, layout);
  SmoothFrames(buffer, layout);
}

void HalvePitch(char* buffer, int32_t n, const SampleLayout& layout, const char* bufferA, PitchWorkspace& work) {
  if (!IsPitchBlockSize(n)) return;
  const int32_t sampleBytes = layout.bitsPerSample == 16 ? 2 : 1;
  for (int32_t offset = 0; offset < kPlayBufferBytes; offset += n * sampleBytes) {
    const int32_t count = std::min(n, (kPlayBufferBytes - offset) / sampleBytes);
    LoadPitchBlock(work.x, buffer + offset, count, n, layout.bitsPerSample);
    const int32_t before = offset > 0 ? static_cast<unsigned char>(bufferA[offset - 1]) : -1;
    PitchBlock(work, n, layout.bitsPerSample, before);
    PlayBufferRewrite rewrite;
    StorePitchBlock(buffer + offset, count, n, layout.bitsPerSample, work.yRoom + 1);
  }
}
