#include "audio/sound_decoding.h"

#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "audio/wav_reader.h"
#include "platform/win32.h"

namespace {

constexpr int kHeaderBytes = 44;
// Samples decoded at a time, whatever the number of channels.
constexpr sf_count_t kBlockSamples = 8192;

// The file's container as users know it by its name's extension.
const char* ContainerName(int format) {
  switch (format & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_OGG:
      return "ogg";
    case SF_FORMAT_MPEG:
      switch (format & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_MPEG_LAYER_I:
          return "mp1";
        case SF_FORMAT_MPEG_LAYER_II:
          return "mp2";
        default:
          return "mp3";
      }
    default: {
      SF_FORMAT_INFO info{};
      info.format = format & SF_FORMAT_TYPEMASK;
      return sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info) == 0 ? info.extension : "";
    }
  }
}

// The samples' encoding where the container alone does not tell it.
const char* EncodingName(int format) {
  switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
      return "8bit";
    case SF_FORMAT_PCM_16:
      return "16bit";
    case SF_FORMAT_PCM_24:
      return "24bit";
    case SF_FORMAT_PCM_32:
      return "32bit";
    case SF_FORMAT_FLOAT:
      return "float";
    case SF_FORMAT_DOUBLE:
      return "double";
    case SF_FORMAT_VORBIS:
      return "vorbis";
    case SF_FORMAT_OPUS:
      return "opus";
    case SF_FORMAT_ULAW:
      return "u-law";
    case SF_FORMAT_ALAW:
      return "a-law";
    case SF_FORMAT_IMA_ADPCM:
    case SF_FORMAT_MS_ADPCM:
      return "adpcm";
    default:
      return "";
  }
}

// An 8- or 16-bit WAV file keeps the refusal the WAV reader gave its header (not RIFF, not
// WAVE, the fmt chunk not first); only its format, never its layout, makes a file decoded.
bool RefusalStands(int32_t readerError, int format) {
  const bool layout = readerError == kWavNotRiff || readerError == kWavNotWave;
  const bool wav = (format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV;
  const int encoding = format & SF_FORMAT_SUBMASK;
  const bool narrow = encoding == SF_FORMAT_PCM_U8 || encoding == SF_FORMAT_PCM_S8 || encoding == SF_FORMAT_PCM_16;
  return layout && wav && narrow;
}

// A sample of full scale 1.0 as 16-bit PCM: rounded to nearest (halves to even), clipped, and a
// value that is not a number taken as silence.
int16_t ToPcm16(double sample) {
  const double scaled = sample * 32768.0;
  if (!(scaled > -32768.0)) return std::isnan(scaled) ? 0 : INT16_MIN;
  if (scaled >= 32767.0) return INT16_MAX;
  return static_cast<int16_t>(std::nearbyint(scaled));
}

void PutLe(unsigned char*& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) *out++ = static_cast<unsigned char>(value >> (8 * i));
}

bool WriteHeader(FILE* wav, int channels, int rate, uint32_t dataBytes) {
  unsigned char header[kHeaderBytes];
  unsigned char* out = header;
  const uint32_t blockAlign = 2 * static_cast<uint32_t>(channels);
  std::memcpy(out, "RIFF", 4);
  out += 4;
  PutLe(out, 36 + dataBytes, 4);
  std::memcpy(out, "WAVEfmt ", 8);
  out += 8;
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);
  PutLe(out, static_cast<uint32_t>(channels), 2);
  PutLe(out, static_cast<uint32_t>(rate), 4);
  PutLe(out, static_cast<uint32_t>(rate) * blockAlign, 4);
  PutLe(out, blockAlign, 2);
  PutLe(out, 16, 2);
  std::memcpy(out, "data", 4);
  out += 4;
  PutLe(out, dataBytes, 4);
  return std::fseek(wav, 0, SEEK_SET) == 0 && std::fwrite(header, 1, sizeof header, wav) == sizeof header;
}

// Decodes an opened sound into `wav` after room for its header; the first two channels only,
// and no more frames than a WAV the reader reads can hold. False on failure, with `damage` set
// when the sound itself could not be decoded.
bool DecodeSamples(SNDFILE* sound, const SF_INFO& info, FILE* wav, int keptChannels, char* damage, size_t damageBytes) {
  const int64_t frameBytes = 2 * keptChannels;
  const int64_t mostFrames = (INT32_MAX - kHeaderBytes) / frameBytes;
  const sf_count_t blockFrames = std::max<sf_count_t>(kBlockSamples / info.channels, 1);
  std::vector<double> in(static_cast<size_t>(blockFrames * info.channels));
  std::vector<unsigned char> out(static_cast<size_t>(blockFrames * frameBytes));
  int64_t frames = 0;
  for (sf_count_t got; frames < mostFrames &&
                       (got = sf_readf_double(sound, in.data(), std::min(blockFrames, mostFrames - frames))) > 0;) {
    unsigned char* put = out.data();
    for (sf_count_t i = 0; i < got; ++i) {
      for (int c = 0; c < keptChannels; ++c) {
        PutLe(put, static_cast<uint16_t>(ToPcm16(in[static_cast<size_t>(i * info.channels + c)])), 2);
      }
    }
    const size_t bytes = static_cast<size_t>(put - out.data());
    if (std::fwrite(out.data(), 1, bytes, wav) != bytes) return false;
    frames += got;
  }
  // libsndfile does not always report a decoder's error; a file whose length is exact in its
  // header (all but the lossy streams, whose length is an estimate) tells by ending early.
  const int container = info.format & SF_FORMAT_TYPEMASK;
  const bool lengthExact = container != SF_FORMAT_OGG && container != SF_FORMAT_MPEG;
  const bool endedEarly = frames < std::min<int64_t>(info.frames, mostFrames) && (lengthExact || frames == 0);
  if (sf_error(sound) != SF_ERR_NO_ERROR || endedEarly) {
    std::snprintf(damage, damageBytes, "\n\ndamaged sound file.\n%s",
                  sf_error(sound) != SF_ERR_NO_ERROR ? sf_strerror(sound) : "the sound ends before its declared length.");
    return false;
  }
  if (frames == mostFrames && sf_readf_double(sound, in.data(), 1) > 0) {
    std::fprintf(stderr, "morvex: the sound is longer than a WAV file can hold; the first %.0f seconds are played\n",
                 static_cast<double>(frames) / info.samplerate);
  }
  return WriteHeader(wav, keptChannels, info.samplerate, static_cast<uint32_t>(frames * frameBytes)) &&
         std::fflush(wav) == 0 && std::fseek(wav, 0, SEEK_SET) == 0;
}

// libsndfile reads the open file by position through its descriptor, so that the stream's own
// position and buffer stay as they are.
struct PositionedReads {
  int fd;
  sf_count_t length;
  sf_count_t position = 0;
};

sf_count_t Length(void* data) { return static_cast<PositionedReads*>(data)->length; }

sf_count_t Seek(sf_count_t offset, int whence, void* data) {
  auto* reads = static_cast<PositionedReads*>(data);
  const sf_count_t base = whence == SEEK_CUR ? reads->position : whence == SEEK_END ? reads->length : 0;
  if (offset < -base) return -1;
  reads->position = base + offset;
  return reads->position;
}

sf_count_t Read(void* buffer, sf_count_t count, void* data) {
  auto* reads = static_cast<PositionedReads*>(data);
  const ssize_t got = pread(reads->fd, buffer, static_cast<size_t>(count), reads->position);
  if (got <= 0) return 0;
  reads->position += got;
  return got;
}

sf_count_t Tell(void* data) { return static_cast<PositionedReads*>(data)->position; }

sf_count_t NoWrite(const void*, sf_count_t, void*) { return 0; }

// Decodes `file` into a temporary WAV; `file` of the result stays null when the file is not to
// be decoded or its decoding failed.
SourceDecoding DecodeRefused(FILE* file, int32_t readerError) {
  SourceDecoding result;
  struct stat status {};
  if (fstat(fileno(file), &status) != 0) return result;
  PositionedReads reads{fileno(file), static_cast<sf_count_t>(status.st_size)};
  SF_VIRTUAL_IO io{Length, Seek, Read, NoWrite, Tell};
  SF_INFO info{};
  SNDFILE* sound = sf_open_virtual(&io, SFM_READ, &info, &reads);
  if (sound == nullptr) return result;
  const bool playable = info.channels >= 1 && info.samplerate >= 1 && info.samplerate <= kHighestSampleRate;
  if (!playable || RefusalStands(readerError, info.format)) {
    sf_close(sound);
    return result;
  }
  const int keptChannels = std::min(info.channels, 2);
  if (info.channels > 2) {
    std::fprintf(stderr, "morvex: the file has %d channels; the first two are played\n", info.channels);
  }
  FILE* wav = std::tmpfile();
  const bool decoded = wav != nullptr && std::fseek(wav, kHeaderBytes, SEEK_SET) == 0 &&
                       DecodeSamples(sound, info, wav, keptChannels, result.damage, sizeof result.damage);
  const int writeError = errno;
  sf_close(sound);
  if (!decoded) {
    if (wav != nullptr) std::fclose(wav);
    if (result.damage[0] == '\0') {
      std::snprintf(result.damage, sizeof result.damage, "\n\nthe decoded sound could not be written.\n%s",
                    std::strerror(writeError));
    }
    return result;
  }
  const char* encoding = EncodingName(info.format);
  std::snprintf(result.format, sizeof result.format, "%s%s%s", ContainerName(info.format), encoding[0] ? " " : "",
                encoding);
  result.file = wav;
  return result;
}

}  // namespace

const char kSoundFileFilter[] =
    "wavfile(*.wav)\0*.wav\0"
    "sound files\0*.wav;*.flac;*.ogg;*.oga;*.opus;*.mp3;*.aif;*.aiff;*.au;*.w64;*.rf64;*.caf\0";

SourceDecoding DecodeIfRefused(FILE* file) {
  WAVEFORMATEX format{};
  WavHeader header;
  const int32_t readerError = ParseWavHeader(file, &format, &header);
  SourceDecoding result;
  if (readerError != kWavHeaderOk) result = DecodeRefused(file, readerError);
  std::rewind(file);
  if (result.file != nullptr) {
    std::fclose(file);
  } else {
    result.file = file;
  }
  return result;
}
