#include "audio/wav_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "support/wav_bytes.h"

namespace {

using test_support::AddChunk;
using test_support::Bytes;
using test_support::CanonicalWav;
using test_support::FmtFields;
using test_support::RiffWithFmt;

// An anonymous file holding the bytes, positioned at byte 0.
class StreamOf {
 public:
  explicit StreamOf(const Bytes& bytes) : file_(std::tmpfile()) {
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file_);
    std::rewind(file_);
  }
  ~StreamOf() { std::fclose(file_); }
  FILE* get() const { return file_; }

 private:
  FILE* file_;
};

struct Parsed {
  int32_t error;
  WAVEFORMATEX format;
  WavHeader header;
  long position;
};

Parsed Parse(const Bytes& bytes) {
  StreamOf stream(bytes);
  Parsed p{};
  p.format.cbSize = 77;
  p.error = ParseWavHeader(stream.get(), &p.format, &p.header);
  p.position = std::ftell(stream.get());
  return p;
}

Bytes Samples(std::size_t count) { return Bytes(count, 0x11); }

TEST(WavHeader, ChunkScanFindsTheSamples) {
  FmtFields longFmt;
  longFmt.fmtSize = 18;
  Bytes skipped = RiffWithFmt(FmtFields{});
  AddChunk(skipped, "LIST", Bytes(26, 'x'));
  AddChunk(skipped, "fact", Bytes(3, 'y'));  // odd size and no pad byte: the next chunk follows directly
  AddChunk(skipped, "data", Samples(12));
  Bytes padded = RiffWithFmt(FmtFields{});
  AddChunk(padded, "LIST", Bytes(25, 'x'));
  padded.push_back(0);  // the pad byte after an odd-sized chunk
  AddChunk(padded, "data", Samples(12));
  Bytes startsWithD = RiffWithFmt(FmtFields{});
  AddChunk(startsWithD, "disp", Bytes(10, 'z'));  // the first chunk beginning with 'd' is taken as data
  AddChunk(startsWithD, "data", Samples(100));
  Bytes unknownSize = RiffWithFmt(FmtFields{});
  AddChunk(unknownSize, "data", Samples(4), 0xFFFFFFFFu);  // "length unknown", as streams write it: unchecked
  struct Case {
    Bytes bytes;
    int32_t offset, size;
  };
  const Case cases[] = {{CanonicalWav(FmtFields{}, Samples(400)), 44, 400},
                        {CanonicalWav(longFmt, Samples(8)), 46, 8},
                        {skipped, 36 + (8 + 26) + (8 + 3) + 8, 12},
                        {padded, 36 + (8 + 25 + 1) + 8, 12},
                        {startsWithD, 44, 10},
                        {unknownSize, 44, -1}};
  for (const Case& c : cases) {
    const Parsed p = Parse(c.bytes);
    ASSERT_EQ(p.error, kWavHeaderOk);
    EXPECT_EQ(p.header.dataOffset, c.offset);
    EXPECT_EQ(p.position, c.offset);
    EXPECT_EQ(p.format.cbSize, 0);
    EXPECT_EQ(p.header.dataSize, c.size);
  }
}

TEST(WavHeader, MarkersAreCheckedInOrder) {
  Bytes rifx = CanonicalWav(FmtFields{}, Samples(4));
  rifx[3] = 'X';
  EXPECT_EQ(Parse(rifx).error, kWavNotRiff);

  Bytes newline = CanonicalWav(FmtFields{}, Samples(4));
  newline[2] = '\n';  // the marker read stops after a newline byte
  EXPECT_EQ(Parse(newline).error, kWavNotRiff);

  Bytes listFirst;
  test_support::PutText(listFirst, "RIFF");
  test_support::PutLe(listFirst, 0, 4);
  test_support::PutText(listFirst, "WAVE");
  AddChunk(listFirst, "LIST", Bytes(4, 0));
  const Bytes fmtLater = RiffWithFmt(FmtFields{});
  listFirst.insert(listFirst.end(), fmtLater.begin() + 12, fmtLater.end());
  EXPECT_EQ(Parse(listFirst).error, kWavNotWave);

  EXPECT_EQ(Parse(Bytes{'R', 'I', 'F', 'F'}).error, kWavNotWave);
  EXPECT_EQ(Parse(Bytes{}).error, kWavNotRiff);
}

TEST(WavHeader, BrokenChunkStructureIsNotAWaveFile) {
  // Ends before any chunk beginning with 'd'.
  Bytes noData = RiffWithFmt(FmtFields{});
  AddChunk(noData, "LIST", Bytes(6, 0));
  EXPECT_EQ(Parse(noData).error, kWavNotWave);
  EXPECT_EQ(Parse(RiffWithFmt(FmtFields{})).error, kWavNotWave);

  // A chunk size reaching past the end of the file.
  Bytes pastEnd = RiffWithFmt(FmtFields{});
  AddChunk(pastEnd, "LIST", Bytes(6, 0), 5000);
  AddChunk(pastEnd, "data", Samples(4));
  EXPECT_EQ(Parse(pastEnd).error, kWavNotWave);

  // A size that, taken as signed, would lead the scan back to the same chunk forever.
  Bytes backwards = RiffWithFmt(FmtFields{});
  AddChunk(backwards, "LIST", Bytes(), 0xFFFFFFF8u);
  AddChunk(backwards, "data", Samples(4));
  EXPECT_EQ(Parse(backwards).error, kWavNotWave);

  // A data chunk cut off inside its size field.
  Bytes cut = RiffWithFmt(FmtFields{});
  test_support::PutText(cut, "data");
  cut.push_back(4);
  EXPECT_EQ(Parse(cut).error, kWavNotWave);

  // A huge fmt size sends the scan beyond the end.
  Bytes huge = RiffWithFmt(FmtFields{});
  huge[16] = 0xF0;
  huge[17] = huge[18] = huge[19] = 0xFF;
  AddChunk(huge, "data", Samples(4));
  EXPECT_EQ(Parse(huge).error, kWavNotWave);

  // An fmt chunk too short for its fields.
  Bytes shortFmt = RiffWithFmt(FmtFields{});
  shortFmt[16] = 14;
  AddChunk(shortFmt, "data", Samples(4));
  EXPECT_EQ(Parse(shortFmt).error, kWavNotWave);
}

TEST(WavHeader, FormatsThatAreNotPcmOrCannotBePlayedAreRefused) {
  auto with = [](auto change) {
    FmtFields f;
    change(f);
    return Parse(CanonicalWav(f, Samples(24))).error;
  };
  for (uint16_t tag : {uint16_t{3}, uint16_t{0xFFFE}, uint16_t{0}}) {
    EXPECT_EQ(with([tag](FmtFields& f) { f.tag = tag; }), kWavNotPcm) << tag;
  }
  EXPECT_EQ(with([](FmtFields& f) { f.bits = 24; }), kWavUnplayable);
  EXPECT_EQ(with([](FmtFields& f) { f.bits = 32; }), kWavUnplayable);
  EXPECT_EQ(with([](FmtFields& f) { f.channels = 6; }), kWavUnplayable);
  EXPECT_EQ(with([](FmtFields& f) { f.channels = 0; }), kWavUnplayable);
  EXPECT_EQ(with([](FmtFields& f) { f.blockAlign = 3; }), kWavUnplayable);
  EXPECT_EQ(with([](FmtFields& f) { f.rate = 0; }), kWavUnplayable);
  EXPECT_EQ(with([](FmtFields& f) { f.rate = kHighestSampleRate + 1; }), kWavUnplayable);
  EXPECT_EQ(with([](FmtFields& f) {
              f.rate = 8000;
              f.byteRate = 0xFFFFFFFFu;
            }),
            kWavHeaderOk);  // an odd byte rate is only shown, never divided into nothing

  // nBlockAlign 0 with a consistent-looking rest.
  Bytes zeroAlign = CanonicalWav(FmtFields{}, Samples(4));
  zeroAlign[32] = zeroAlign[33] = 0;
  EXPECT_EQ(Parse(zeroAlign).error, kWavUnplayable);
  // nAvgBytesPerSec 0.
  Bytes zeroByteRate = CanonicalWav(FmtFields{}, Samples(4));
  for (int i = 28; i < 32; ++i) zeroByteRate[i] = 0;
  EXPECT_EQ(Parse(zeroByteRate).error, kWavUnplayable);

  FmtFields eightMono;
  eightMono.bits = 8;
  eightMono.channels = 1;
  EXPECT_EQ(Parse(CanonicalWav(eightMono, Samples(4))).error, kWavHeaderOk);
}

// 100 MB that are zeros after a fmt chunk, made up as they are read; counts the reader's calls.
struct ZerosBehindFmt {
  Bytes head = RiffWithFmt(FmtFields{});
  int64_t size = int64_t{100} << 20;
  int64_t position = 0;
  int64_t calls = 0;
};

ssize_t ReadZeros(void* cookie, char* into, size_t count) {
  auto& s = *static_cast<ZerosBehindFmt*>(cookie);
  ++s.calls;
  const auto n = static_cast<size_t>(std::min(static_cast<int64_t>(count), s.size - s.position));
  const auto at = static_cast<size_t>(s.position);
  std::memset(into, 0, n);
  if (at < s.head.size()) std::memcpy(into, s.head.data() + at, std::min(n, s.head.size() - at));
  s.position += static_cast<int64_t>(n);
  return static_cast<ssize_t>(n);
}

int SeekZeros(void* cookie, off64_t* offset, int whence) {
  auto& s = *static_cast<ZerosBehindFmt*>(cookie);
  ++s.calls;
  s.position = *offset + (whence == SEEK_CUR ? s.position : whence == SEEK_END ? s.size : 0);
  *offset = s.position;
  return 0;
}

TEST(WavHeader, ZerosBehindTheFmtChunkAreRefusedInOnePassOverTheFile) {
  ZerosBehindFmt zeros;
  FILE* file = fopencookie(&zeros, "rb", {ReadZeros, nullptr, SeekZeros, nullptr});
  ASSERT_NE(file, nullptr);
  WAVEFORMATEX format{};
  WavHeader header;
  EXPECT_EQ(ParseWavHeader(file, &format, &header), kWavNotWave);
  std::fclose(file);
  // Fewer than one read or seek per kilobyte; one per 8-byte "chunk" would be 13 million.
  EXPECT_LT(zeros.calls, zeros.size / 1024);
}

}  // namespace
