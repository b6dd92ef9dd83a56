// The opening of a sound file alone, as the program does it at the start: the WAV reader's look
// at the header, the decoding of a file it refuses for its format, the header of what is then
// played, and the first fill of a play buffer from it. Fast enough for millions of runs where
// the whole-pipeline harness (wav_fuzz) manages a hundred a second.
//
// Input: the file's bytes.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "audio/sound_decoding.h"
#include "audio/wav_reader.h"
#include "shared/sample_store.h"

namespace {

// One file in memory, rewritten for every input.
int MemoryFile() {
  static const int fd = memfd_create("morvex-opening-fuzz", 0);
  if (fd < 0) std::abort();
  return fd;
}

FILE* OpenInput(const uint8_t* data, size_t size) {
  const int fd = MemoryFile();
  if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size) || lseek(fd, 0, SEEK_SET) != 0) {
    std::abort();
  }
  FILE* file = fdopen(dup(fd), "rb");
  if (file == nullptr) std::abort();
  return file;
}

}  // namespace

// libvorbis keeps the stream information of an Ogg file whose opening fails halfway; the
// library's, not the program's, and once per process outside this harness.
extern "C" const char* __lsan_default_suppressions() { return "leak:vorbis_info_init\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const SourceDecoding decoding = DecodeIfRefused(OpenInput(data, size));
  FILE* file = decoding.file;
  WAVEFORMATEX format{};
  WavHeader header;
  if (decoding.damage[0] == '\0' && ParseWavHeader(file, &format, &header) == kWavHeaderOk) {
    // A decoded file is always a WAV the reader reads as 16-bit PCM in one or two channels.
    if (decoding.format[0] != '\0' && (format.wBitsPerSample != 16 || format.nChannels > 2)) std::abort();
    // The first fill: the play buffer's worth from the first sample byte.
    if (std::fseek(file, header.dataOffset, SEEK_SET) == 0) {
      const size_t count = std::fread(SampleStore.scratch, 1, kPlayBufferBytes, file);
      if (count > kPlayBufferBytes) std::abort();
    }
  }
  std::fclose(file);
  return 0;
}
