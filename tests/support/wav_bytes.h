// WAV files built byte by byte: canonical ones and the malformed ones that a reader must survive.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace test_support {

using Bytes = std::vector<uint8_t>;

inline void PutLe(Bytes& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline void PutText(Bytes& out, std::string_view text) {
  for (char c : text) out.push_back(static_cast<uint8_t>(c));
}

struct FmtFields {
  uint16_t tag = 1;
  uint16_t channels = 2;
  uint32_t rate = 44100;
  uint16_t bits = 16;
  uint32_t byteRate = 0;    // 0: consistent with the fields above
  uint16_t blockAlign = 0;  // likewise
  uint32_t fmtSize = 16;  // bytes beyond 16 are zeros
};

// "RIFF", a size, "WAVEfmt " and the fmt chunk; the chunks that follow are appended by AddChunk.
inline Bytes RiffWithFmt(const FmtFields& f) {
  const uint16_t blockAlign = f.blockAlign ? f.blockAlign : static_cast<uint16_t>(f.channels * f.bits / 8);
  const uint32_t byteRate = f.byteRate ? f.byteRate : f.rate * blockAlign;
  Bytes out;
  PutText(out, "RIFF");
  PutLe(out, 0, 4);  // the reader ignores the RIFF size
  PutText(out, "WAVEfmt ");
  PutLe(out, f.fmtSize, 4);
  PutLe(out, f.tag, 2);
  PutLe(out, f.channels, 2);
  PutLe(out, f.rate, 4);
  PutLe(out, byteRate, 4);
  PutLe(out, blockAlign, 2);
  PutLe(out, f.bits, 2);
  for (uint32_t i = 16; i < f.fmtSize; ++i) out.push_back(0);
  return out;
}

// A chunk whose size field is `declaredSize` (normally the payload's size).
inline void AddChunk(Bytes& out, std::string_view id, const Bytes& payload, uint32_t declaredSize) {
  PutText(out, id);
  PutLe(out, declaredSize, 4);
  out.insert(out.end(), payload.begin(), payload.end());
}

inline void AddChunk(Bytes& out, std::string_view id, const Bytes& payload) {
  AddChunk(out, id, payload, static_cast<uint32_t>(payload.size()));
}

// A 44-byte header followed by the samples.
inline Bytes CanonicalWav(const FmtFields& f, const Bytes& samples) {
  Bytes out = RiffWithFmt(f);
  AddChunk(out, "data", samples);
  return out;
}

}  // namespace test_support
