#include "audio/playback_transforms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "analysis/fft.h"
#include "shared/sample_store.h"
#include "support/byte_pattern.h"

namespace {

using Buffer = std::vector<char>;

Buffer Noise(uint32_t seed) {
  const std::vector<uint8_t> bytes = test_support::Pattern(kPlayBufferBytes, seed);
  return Buffer(bytes.begin(), bytes.end());
}

int32_t Sample16(const Buffer& b, size_t i) {
  return static_cast<int16_t>(
      static_cast<uint16_t>(static_cast<uint8_t>(b[i]) | (static_cast<uint8_t>(b[i + 1]) << 8)));
}

void PutSample16(Buffer& b, size_t i, int32_t v) {
  b[i] = static_cast<char>(v & 0xFF);
  b[i + 1] = static_cast<char>((v >> 8) & 0xFF);
}

// Double speed by block thinning, written from its definition.
Buffer ReferenceThinning(const Buffer& own, const Buffer& more, int32_t L, const SampleLayout& layout) {
  const int32_t bA = layout.blockAlign;
  const int32_t lastKept = layout.bitsPerSample == 8 && layout.channels == 1 ? L : L - 1;
  Buffer out = own;
  int32_t o = 0;
  for (const Buffer* source : {&own, &more}) {
    for (int32_t pairStart = 0; pairStart < kPlayBufferBytes; pairStart += 2 * L * bA) {
      for (int32_t f = 1; f <= lastKept; ++f) {
        const int32_t at = pairStart + f * bA;
        if (at + bA <= kPlayBufferBytes && o < kPlayBufferBytes) {
          for (int32_t b = 0; b < bA; ++b) out[o + b] = (*source)[at + b];
          o += bA;
        }
      }
    }
  }
  if (layout.bitsPerSample == 8) {
    for (int32_t i = bA; i < kPlayBufferBytes; ++i) {
      out[i] = static_cast<char>((static_cast<uint8_t>(out[i]) + static_cast<uint8_t>(out[i - bA])) >> 1);
    }
  } else {
    for (int32_t i = bA; i < kPlayBufferBytes; i += 2)
      PutSample16(out, i, (Sample16(out, i) + Sample16(out, i - bA)) / 2);
  }
  return out;
}

TEST(ThinBlocks, MatchesTheReferenceInEveryLayout) {
  // The blocks per second over the rate, never a block of no frames, which would never move on.
  EXPECT_EQ(std::tuple(ThinningBlockFrames(44100, 23), ThinningBlockFrames(8000, 23), ThinningBlockFrames(11025, 1),
                       ThinningBlockFrames(20, 23)),
            std::tuple(1917, 347, 11025, 1));
  const Buffer own = Noise(10), more = Noise(11);
  for (const auto& [layout, blockFrames] : {std::pair{SampleLayout{2, 16, 1}, 1917}, {SampleLayout{4, 16, 2}, 1917},
                                            {SampleLayout{1, 8, 1}, 347}, {SampleLayout{2, 8, 2}, 347},
                                            {SampleLayout{4, 16, 2}, 1}, {SampleLayout{1, 8, 1}, 1}}) {
    Buffer buffer = own;
    ThinBlocks(buffer.data(), more.data(), blockFrames, layout);
    EXPECT_TRUE(buffer == ReferenceThinning(own, more, blockFrames, layout)) << layout.blockAlign << " " << blockFrames;
  }
}

// Pitch halving, written from its definition.
int32_t Wrap(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }
int32_t Trunc(double v) { return v > -2147483649.0 && v < 2147483648.0 ? static_cast<int32_t>(v) : INT32_MIN; }

// One block of n samples (the last `n - count` of them silence) through steps 1 to 11.
void ReferencePitchBlock(Buffer& buffer, int32_t offset, int32_t count, int32_t n, int32_t bits, int32_t before) {
  const double pi = 3.1415927f;
  std::vector<int32_t> x(n, 0), re(n), im(n), ta(n), tb(n), y(n + 1, 0);
  for (int32_t i = 0; i < count; ++i) {
    x[i] = bits == 8 ? static_cast<uint8_t>(buffer[offset + i]) - 128 : Sample16(buffer, offset + 2 * i);
  }
  for (int32_t i = 0; i < n; ++i) x[i] = Trunc(x[i] * std::sin(i * pi / n));
  FftRadix2Direct(x.data(), n, im.data(), re.data(), ta.data(), tb.data());
  std::vector<int32_t> accRe(n, 0), accIm(n, 0);
  for (int32_t i = 0; i < n / 2; ++i) {
    accRe[i / 2] = Wrap(int64_t{accRe[i / 2]} + re[i]);
    accIm[i / 2] = Wrap(int64_t{accIm[i / 2]} + im[i]);
    if (n - i / 2 < n) {
      accRe[n - i / 2] = Wrap(int64_t{accRe[n - i / 2]} + re[n - i]);
      accIm[n - i / 2] = Wrap(int64_t{accIm[n - i / 2]} + im[n - i]);
    }
  }
  re = accRe;
  im = accIm;
  re[0] = im[0] = 0;
  FftComplexRadix2(n, im.data(), re.data(), ta.data(), tb.data(), 6.2831855f / static_cast<float>(n));
  auto Y = [&y](int32_t i) -> int32_t& { return y[i + 1]; };  // Y(-1) is 0
  for (int32_t i = 0; i < n; ++i) Y(i) = Wrap(int64_t{im[i]} + re[i]);
  for (int32_t i = 0; i < n; ++i) Y(i) = Trunc(Y(i) * (1 - 0.7 * std::sin(i * pi / n)));
  for (int32_t i = 0; i <= n / 9; ++i) Y(i) = Trunc(Y(i) * (1.8 - i / (n / 9)));
  if (bits == 16) {
    for (int32_t i = 0; i < n; ++i) {
      if ((i >= 1 && i < n / 30) || (i >= n - n / 30)) Y(i) = Wrap(2 * int64_t{Y(i)});
    }
  }
  if (before >= 0) Y(0) = Wrap(int64_t{Y(0)} + before) / 2;
  auto five = [&](int32_t i) { return Wrap(int64_t{Y(i - 2)} + Y(i - 1) + Y(i) + Y(i + 1) + Y(i + 2)); };
  for (int32_t i = 1; i < n / 10 - 2; ++i) Y(i) = five(i) / 5;
  for (int32_t i = n - n / 10; i < n - 2; ++i) Y(i) = five(i) / 4;
  for (int32_t i = 1; i < n - 2; ++i) Y(i) = five(i) / 5;
  for (int32_t i = 1; i < n - 1; ++i) Y(i) = Wrap(int64_t{Y(i - 1)} + Y(i) + Y(i + 1)) / 3;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t v = 2 * (Y(i) / n);
    if (bits == 8) {
      buffer[offset + i] = static_cast<char>(static_cast<uint8_t>(v + 128));
    } else {
      PutSample16(buffer, offset + 2 * i, v);
    }
  }
}

// The whole buffer; `bufferA` is read after each block, so it may be `buffer` itself.
void ReferencePitch(Buffer& buffer, int32_t n, int32_t bits, const Buffer* bufferA) {
  const int32_t blockBytes = bits == 8 ? n : 2 * n;
  for (int32_t offset = 0; offset < kPlayBufferBytes; offset += blockBytes) {
    const int32_t count = std::min(blockBytes, kPlayBufferBytes - offset) / (bits == 8 ? 1 : 2);
    const int32_t before = offset == 0 ? -1 : static_cast<uint8_t>((*bufferA)[offset - 1]);
    ReferencePitchBlock(buffer, offset, count, n, bits, before);
  }
}

// Buffer A, giving the bytes before each block, may be the one rewritten; some sizes end part way.
TEST(HalvePitch, MatchesTheReferenceWithTheBytesBeforeBlocksFromBufferA) {
  auto work = std::make_unique<PitchWorkspace>();
  const Buffer bufferA = Noise(20), input = Noise(21);
  for (const auto& [n, layout] : {std::pair{64, SampleLayout{1, 8, 1}}, {2048, SampleLayout{1, 8, 1}},
                                  {256, SampleLayout{4, 16, 2}}, {4096, SampleLayout{2, 16, 1}},
                                  {32768, SampleLayout{4, 16, 2}}}) {
    for (const bool rewritingA : {false, true}) {
      Buffer buffer = input;
      HalvePitch(buffer.data(), n, layout, rewritingA ? buffer.data() : bufferA.data(), *work);
      Buffer expected = input;
      ReferencePitch(expected, n, layout.bitsPerSample, rewritingA ? &expected : &bufferA);
      EXPECT_TRUE(buffer == expected) << n << " " << rewritingA;
    }
  }
}

}  // namespace
