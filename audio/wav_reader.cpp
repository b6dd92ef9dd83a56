#include "audio/wav_reader.h"

#include <algorithm>
#include <cstring>

#include "shared/sample_store.h"

namespace {

// Little-endian numbers assembled from single bytes; a read past the end counts as 0 and is
// remembered, so that a truncated header is refused rather than taken as zeros.
struct ByteReader {
  FILE* file;
  bool ended = false;

  uint32_t Read(int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
      int c = std::fgetc(file);
      if (c == EOF) {
        ended = true;
        c = 0;
      }
      value |= static_cast<uint32_t>(c) << (8 * i);
    }
    return value;
  }
};

// The markers are read as text lines limited to their length, so a newline byte inside one ends
// the read early and the comparison fails.
bool MarkerMatches(FILE* file, char* buffer, int size, const char* marker) {
  buffer[0] = '\0';
  return std::fgets(buffer, size, file) != nullptr && std::strcmp(buffer, marker) == 0;
}

// What the rest of the program can play: 8- or 16-bit samples in one or two channels with
// frames of exactly that size, a usable rate and a byte rate to divide by.
bool Playable(const WAVEFORMATEX& format) {
  const bool channels = format.nChannels == 1 || format.nChannels == 2;
  const bool bits = format.wBitsPerSample == 8 || format.wBitsPerSample == 16;
  return channels && bits && format.nBlockAlign == format.nChannels * format.wBitsPerSample / 8 &&
         format.nSamplesPerSec >= 1 && format.nSamplesPerSec <= static_cast<DWORD>(kHighestSampleRate) &&
         format.nAvgBytesPerSec != 0;
}

// The stream's length in bytes. Where `long` cannot tell it (beyond 2 GB on Windows), the scan's
// 32-bit limit stands and the reads find the end.
int64_t FileLength(FILE* file) {
  const long end = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
  return end < 0 ? int64_t{INT32_MAX} : end;
}

uint32_t LittleEndian32(const unsigned char* bytes) {
  return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

// The bytes after the fmt chunk, read through one block and never past `end`: a run of tiny
// chunks (the zeros an interrupted recording leaves are an empty chunk every 8 bytes) costs no
// seek or read each, and the scan is one pass over the file at most.
class ChunkBytes {
 public:
  ChunkBytes(FILE* file, int64_t end) : file_(file), end_(end) {}

  // `count` bytes from `offset` (count at most 8), or nullptr when they reach past the end.
  const unsigned char* At(int64_t offset, int64_t count) {
    if (offset + count > end_) return nullptr;
    if (offset < start_ || offset + count > start_ + filled_) {
      if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return nullptr;
      start_ = offset;
      filled_ = static_cast<int64_t>(std::fread(block_, 1, sizeof block_, file_));
      if (filled_ < count) return nullptr;
    }
    return block_ + (offset - start_);
  }

 private:
  FILE* file_;
  int64_t end_;
  int64_t start_ = 0;
  int64_t filled_ = 0;
  unsigned char block_[16384];
};

}  // namespace

int32_t ParseWavHeader(FILE* file, WAVEFORMATEX* format, WavHeader* header) {
  format->cbSize = 0;
  char riff[5];
  if (!MarkerMatches(file, riff, sizeof riff, "RIFF")) return kWavNotRiff;
  ByteReader in{file};
  in.Read(4);  // RIFF size, not needed
  char wave[9];
  if (!MarkerMatches(file, wave, sizeof wave, "WAVEfmt ")) return kWavNotWave;
  format->wFormatTag = 1;

  const uint32_t fmtSize = in.Read(4);
  const uint32_t tag = in.Read(2);
  if (in.ended) return kWavNotWave;
  if (tag != 1) return kWavNotPcm;
  format->nChannels = static_cast<WORD>(in.Read(2));
  format->nSamplesPerSec = in.Read(4);
  format->nAvgBytesPerSec = in.Read(4);
  format->nBlockAlign = static_cast<WORD>(in.Read(2));
  format->wBitsPerSample = static_cast<WORD>(in.Read(2));
  // A fmt chunk shorter than its 16 fixed bytes would have the scan start inside it.
  if (in.ended || fmtSize < 16) return kWavNotWave;
  if (!Playable(*format)) return kWavUnplayable;

  // Chunk scan. Only the first letter of an id is looked at: the first chunk whose id begins with
  // 'd' is the data chunk. Offsets are held in 32 bits, so the scan ends there at the latest.
  ChunkBytes bytes(file, std::min(FileLength(file), int64_t{INT32_MAX}));
  int64_t chunk = int64_t{fmtSize} + 20;
  bool odd = fmtSize % 2 == 1;
  for (;;) {
    // A chunk of odd size is followed by a zero pad byte. Ids never begin with 0, so a file
    // written without the pad reads as well.
    if (odd) {
      const unsigned char* pad = bytes.At(chunk, 1);
      if (pad != nullptr && *pad == 0) ++chunk;
    }
    const unsigned char* id = bytes.At(chunk, 8);
    if (id == nullptr) return kWavNotWave;
    const uint32_t size = LittleEndian32(id + 4);
    if (id[0] == 'd') {
      if (std::fseek(file, static_cast<long>(chunk + 8), SEEK_SET) != 0) return kWavNotWave;
      header->dataSize = static_cast<int32_t>(size);
      header->fileRate = static_cast<int32_t>(format->nSamplesPerSec);
      header->dataOffset = static_cast<int32_t>(chunk + 8);
      return kWavHeaderOk;
    }
    chunk += 8 + int64_t{size};
    odd = size % 2 == 1;
  }
}

const char* WavHeaderErrorText(int32_t error) {
  switch (error) {
    case kWavNotRiff:
      return "\n\nnot a RIFF file.";
    case kWavNotWave:
      return "\n\nnot a WAVE file.";
    case kWavNotPcm:
      return "\nNot renia format.";
    default:
      return "\n\nunsupported WAVE format.\nonly 8 or 16 bit PCM with 1 or 2 channels\n"
             "at 1 to 1000000 Hz can be played.";
  }
}

int32_t ReadWavHeader(FILE* file, WAVEFORMATEX* format) {
  WavHeader header;
  const int32_t error = ParseWavHeader(file, format, &header);
  if (error != kWavHeaderOk) {
    MessageBoxA(NULL, WavHeaderErrorText(error), "", MB_OK);
    ExitProcess(1);
  }
  SampleStore.fileRate = header.fileRate;
  SampleStore.fileChannels = format->nChannels;
  SampleStore.dataOffset = header.dataOffset;
  return header.dataSize;
}
