#include "audio/wav_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <tuple>

#include "audio/source_file.h"
#include "support/wav_bytes.h"

namespace {

using test_support::AddChunk;
using test_support::Bytes;
using test_support::CanonicalWav;
using test_support::FmtFields;
using test_support::RiffWithFmt;

struct Parsed {
  int32_t error;
  WAVEFORMATEX format;
  WavHeader header;
  long position;
};

Parsed Parse(const Bytes& bytes) {
  FILE* file = std::tmpfile();
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  Parsed p{};
  p.format.cbSize = 77;
  p.error = ParseWavHeader(file, &p.format, &p.header);
  p.position = std::ftell(file);
  std::fclose(file);
  return p;
}

struct Chunk {
  const char* id;
  size_t bytes;
  int64_t declared = -1;  // the size field; -1: the payload's size
};

// The fmt chunk (changed by `change`), then these chunks.
Bytes WithChunks(std::initializer_list<Chunk> chunks, const std::function<void(Bytes&)>& change = nullptr) {
  Bytes out = RiffWithFmt(FmtFields{});
  if (change) change(out);
  for (const Chunk& c : chunks) {
    AddChunk(out, c.id, Bytes(c.bytes, 0x11), static_cast<uint32_t>(c.declared < 0 ? c.bytes : c.declared));
  }
  return out;
}

TEST(WavHeader, TheChunkScanFindsTheSamplesOrRefusesABrokenStructure) {
  FmtFields longFmt;
  longFmt.fmtSize = 18;
  Bytes newline = CanonicalWav(FmtFields{}, Bytes(4));
  newline[2] = '\n';  // the marker read stops after a newline byte
  Bytes listFirst = RiffWithFmt(FmtFields{});
  const Bytes list = {'L', 'I', 'S', 'T', 4, 0, 0, 0, 0, 0, 0, 0};
  listFirst.insert(listFirst.begin() + 12, list.begin(), list.end());
  AddChunk(listFirst, "data", Bytes(4));
  Bytes padded = WithChunks({{"LIST", 25}});
  padded.push_back(0);
  AddChunk(padded, "data", Bytes(12));
  FmtFields oddFmt;
  oddFmt.fmtSize = 17;
  Bytes oddPadded = RiffWithFmt(oddFmt);
  oddPadded.push_back(0);
  AddChunk(oddPadded, "data", Bytes(8));
  Bytes cut = RiffWithFmt(FmtFields{});
  test_support::PutText(cut, "data\x04");
  Bytes zeros = RiffWithFmt(FmtFields{});
  zeros.resize(zeros.size() + (1 << 20));
  const struct {
    const char* what;
    Bytes bytes;
    int32_t error, offset = 0, size = 0;
  } cases[] = {
      {"canonical", CanonicalWav(FmtFields{}, Bytes(400)), kWavHeaderOk, 44, 400},
      {"longer fmt", CanonicalWav(longFmt, Bytes(8)), kWavHeaderOk, 46, 8},
      // An odd size without a pad byte: the next chunk follows directly.
      {"skipped", WithChunks({{"LIST", 26}, {"fact", 3}, {"data", 12}}), kWavHeaderOk, 36 + 34 + 11 + 8, 12},
      {"pad byte", padded, kWavHeaderOk, 36 + 34 + 8, 12},
      {"odd fmt and its pad byte", oddPadded, kWavHeaderOk, 20 + 17 + 1 + 8, 8},
      {"first chunk beginning with d", WithChunks({{"disp", 10}, {"data", 100}}), kWavHeaderOk, 44, 10},
      {"length unknown, as streams write it", WithChunks({{"data", 4, 0xFFFFFFFFu}}), kWavHeaderOk, 44, -1},
      {"empty", Bytes{}, kWavNotRiff},
      {"newline in the marker", newline, kWavNotRiff},
      {"no WAVE", Bytes{'R', 'I', 'F', 'F'}, kWavNotWave},
      {"a chunk before fmt", listFirst, kWavNotWave},
      {"nothing after fmt", WithChunks({}), kWavNotWave},
      {"zeros after fmt, as an interrupted recording leaves them", zeros, kWavNotWave},
      {"a size past the end", WithChunks({{"LIST", 6, 5000}, {"data", 4}}), kWavNotWave},
      // Taken as signed, the size would lead the scan back to the same chunk forever.
      {"a size leading back", WithChunks({{"LIST", 0, 0xFFFFFFF8u}, {"data", 4}}), kWavNotWave},
      {"data cut inside its size", cut, kWavNotWave},
      {"huge fmt size", WithChunks({{"data", 4}}, [](Bytes& b) { std::fill(b.begin() + 16, b.begin() + 20, 0xFF); }),
       kWavNotWave},
      {"fmt too short for its fields", WithChunks({{"data", 4}}, [](Bytes& b) { b[16] = 14; }), kWavNotWave},
  };
  for (const auto& c : cases) {
    const Parsed p = Parse(c.bytes);
    ASSERT_EQ(p.error, c.error) << c.what;
    if (c.error != kWavHeaderOk) continue;
    EXPECT_EQ(std::tuple(p.header.dataOffset, p.position, p.format.cbSize, p.header.dataSize),
              std::tuple(c.offset, c.offset, 0, c.size))
        << c.what;
  }
}

// Tags other than PCM and 24 bits are refused by the program's start test; these formats cannot be played.
TEST(WavHeader, FormatsThatCannotBePlayedAreRefused) {
  Bytes noByteRate = CanonicalWav(FmtFields{}, Bytes(4));
  std::fill(noByteRate.begin() + 28, noByteRate.begin() + 32, 0);
  const struct {
    FmtFields f;
    int32_t error;
  } cases[] = {
      {{.channels = 0}, kWavUnplayable},
      {{.blockAlign = 3}, kWavUnplayable},
      {{.rate = 0}, kWavUnplayable},
      {{.rate = kHighestSampleRate + 1}, kWavUnplayable},
      {{.channels = 1, .bits = 8}, kWavHeaderOk},
      {{.rate = 8000, .byteRate = 0xFFFFFFFFu}, kWavHeaderOk},  // an odd byte rate is only shown
  };
  for (const auto& c : cases) EXPECT_EQ(Parse(CanonicalWav(c.f, Bytes(24))).error, c.error) << &c - cases;
  EXPECT_EQ(Parse(noByteRate).error, kWavUnplayable);
}

TEST(RemoveEnclosingQuotes, RemovesALeadingQuoteAndItsPartner) {
  for (const auto& [text, stripped] : {std::pair{"\"a b.wav\"", "a b.wav"},
                                       {"\"a.wav", "a.wav"},
                                       {"a.wav\"", "a.wav\""},
                                       {"\"", ""},
                                       {"\"\"", ""},
                                       {"", ""}}) {
    char name[32];
    std::snprintf(name, sizeof name, "%s", text);
    RemoveEnclosingQuotes(name);
    EXPECT_STREQ(name, stripped) << text;
  }
}

}  // namespace
