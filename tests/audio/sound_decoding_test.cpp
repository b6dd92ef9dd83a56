#include "audio/sound_decoding.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "audio/wav_reader.h"
#include "support/sound_files.h"
#include "support/temp_dir.h"
#include "support/wav_bytes.h"

namespace {

using test_support::Bytes;
using test_support::TempDir;
using test_support::WriteSound;

// What a decoding handed back, read as the program reads it.
struct Decoded {
  bool replaced = false;  // a new stream, not the file itself
  long position = -1;     // of the stream handed back
  std::string format;
  std::string damage;
  int32_t readerError = -1;
  WAVEFORMATEX wave{};
  std::vector<int16_t> samples;
};

Decoded Decode(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  const SourceDecoding d = DecodeIfRefused(file);
  Decoded out;
  out.replaced = d.file != file;
  out.position = std::ftell(d.file);
  out.format = d.format;
  out.damage = d.damage;
  WavHeader header;
  out.readerError = ParseWavHeader(d.file, &out.wave, &header);
  if (out.readerError == kWavHeaderOk) {
    out.samples.resize(static_cast<size_t>(header.dataSize) / 2);
    out.samples.resize(std::fread(out.samples.data(), 2, out.samples.size(), d.file));
  }
  std::fclose(d.file);
  return out;
}

// A stereo 16-bit recording with both extremes, silence and a swing between channels.
std::vector<int16_t> Recording() {
  std::vector<int16_t> samples;
  for (int i = 0; i < 3000; ++i) {
    samples.push_back(static_cast<int16_t>(std::lround(30000 * std::sin(i * 0.01))));
    samples.push_back(static_cast<int16_t>((i * 7919) % 65536 - 32768));
  }
  samples.insert(samples.end(), {INT16_MIN, INT16_MAX, 0, -1, 1, 0});
  return samples;
}

TEST(SoundDecoding, EveryLosslessFormatOfA16BitRecordingGivesItsSamplesBack) {
  TempDir dir;
  const std::vector<int16_t> recording = Recording();
  const struct {
    const char* name;
    int format;
    const char* shown;
  } cases[] = {
      {"a.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, "wav 24bit"},
      {"b.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_32, "wav 32bit"},
      {"c.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, "wav float"},
      {"d.wav", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, "wav double"},
      {"e.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, "wav 16bit"},
      {"f.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, "flac 16bit"},
      {"g.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, "flac 24bit"},
      {"h.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, "aiff 16bit"},
      {"i.au", SF_FORMAT_AU | SF_FORMAT_PCM_24, "au 24bit"},
      {"j.w64", SF_FORMAT_W64 | SF_FORMAT_PCM_24, "w64 24bit"},
      {"k.rf64", SF_FORMAT_RF64 | SF_FORMAT_PCM_16, "rf64 16bit"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Decoded d = Decode(WriteSound(dir, c.name, c.format, 2, recording));
    EXPECT_EQ(std::tuple(d.replaced, d.position, d.format, d.readerError), std::tuple(true, 0, c.shown, kWavHeaderOk));
    EXPECT_EQ(std::tuple(d.wave.wBitsPerSample, d.wave.nChannels, d.wave.nSamplesPerSec, d.wave.nAvgBytesPerSec),
              std::tuple(16, 2, 44100u, 44100u * 4));
    EXPECT_EQ(d.samples, recording);
  }
}

TEST(SoundDecoding, CompressedFormatsKeepTheirRateChannelsAndLength) {
  TempDir dir;
  std::vector<double> tone;
  for (int i = 0; i < 48000; ++i) tone.push_back(0.5 * std::sin(i * 0.05));
  const struct {
    const char* name;
    int format;
    int channels;
    const char* shown;
  } cases[] = {
      {"a.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1, "ogg vorbis"},
      {"b.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, 2, "ogg opus"},
      {"c.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 2, "mp3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<double> samples;
    for (double s : tone) samples.insert(samples.end(), c.channels, s);
    const Decoded d = Decode(WriteSound(dir, c.name, c.format, c.channels, samples, 48000));
    ASSERT_EQ(std::tuple(d.format, d.readerError, d.wave.nChannels, d.wave.nSamplesPerSec),
              std::tuple(c.shown, kWavHeaderOk, c.channels, 48000u));
    // A lossy encoder pads its first and last frames.
    const double seconds = static_cast<double>(d.samples.size()) / c.channels / 48000;
    EXPECT_NEAR(seconds, 1.0, 0.1);
    // The tone, not silence or noise: its peak near half of full scale.
    int peak = 0;
    for (int16_t s : d.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_NEAR(peak, 16384, 1500);
  }
}

TEST(SoundDecoding, SamplesAreRoundedToNearestHalvesToEvenAndClipped) {
  TempDir dir;
  // 24-bit samples (in 1/256 of a 16-bit step) under, at and over the halves, and the extremes.
  const std::vector<int32_t> fine = {127, 128, 129, 384, -129, -128, -384, 8388607, -8388608};
  std::vector<int32_t> shifted;
  for (int32_t v : fine) shifted.push_back(v * 256);  // libsndfile keeps an int's top 24 bits
  const Decoded pcm24 = Decode(WriteSound(dir, "a.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1, shifted));
  ASSERT_EQ(pcm24.readerError, kWavHeaderOk);
  EXPECT_EQ(pcm24.samples, (std::vector<int16_t>{0, 0, 1, 2, -1, 0, -2, 32767, -32768}));

  constexpr double kStep = 1.0 / 32768;
  const std::vector<double> floats = {1.5, -2.0, 0.99999, 2.5 * kStep, -0.4 * kStep, -32767.5 * kStep,
                                      std::numeric_limits<double>::quiet_NaN()};
  const Decoded pcmFloat = Decode(WriteSound(dir, "b.wav", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 1, floats));
  ASSERT_EQ(pcmFloat.readerError, kWavHeaderOk);
  EXPECT_EQ(pcmFloat.samples, (std::vector<int16_t>{32767, -32768, 32767, 2, 0, -32768, 0}));
}

TEST(SoundDecoding, MoreThanTwoChannelsKeepTheFirstTwo) {
  TempDir dir;
  std::vector<int16_t> fourChannels;
  for (int i = 0; i < 100; ++i) {
    for (int c = 0; c < 4; ++c) fourChannels.push_back(static_cast<int16_t>((c + 1) * 1000 * (i % 3 - 1)));
  }
  const Decoded d = Decode(WriteSound(dir, "a.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 4, fourChannels));
  ASSERT_EQ(d.readerError, kWavHeaderOk);
  EXPECT_EQ(d.wave.nChannels, 2);
  ASSERT_EQ(d.samples.size(), 200u);
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(d.samples[2 * i], 1000 * (i % 3 - 1));
    EXPECT_EQ(d.samples[2 * i + 1], 2000 * (i % 3 - 1));
  }
}

// Files that are not decoded come back themselves at byte 0, for the WAV reader's own answer.
TEST(SoundDecoding, TheWavReadersOwnFilesAndRefusalsStay) {
  TempDir dir;
  Bytes listFirst = test_support::RiffWithFmt({});
  listFirst.resize(12);  // "RIFF", size, "WAVE": a chunk before the fmt chunk
  test_support::AddChunk(listFirst, "LIST", Bytes(6, 'x'));
  const Bytes fmtAfter = test_support::RiffWithFmt({});
  listFirst.insert(listFirst.end(), fmtAfter.begin() + 12, fmtAfter.end());
  test_support::AddChunk(listFirst, "data", Bytes(64, 1));
  Bytes noDataChunk = test_support::RiffWithFmt({});
  noDataChunk.resize(100000);
  Bytes rifx = test_support::CanonicalWav({}, Bytes(64, 1));
  rifx[3] = 'X';
  Bytes noise(5000);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
  const struct {
    const char* name;
    Bytes bytes;
    int32_t readerError;
  } cases[] = {
      {"16-bit.wav", test_support::CanonicalWav({}, Bytes(64, 1)), kWavHeaderOk},
      {"8-bit.wav", test_support::CanonicalWav({.channels = 1, .bits = 8}, Bytes(64, 1)), kWavHeaderOk},
      {"fmt-not-first.wav", listFirst, kWavNotWave},
      {"no-data-chunk.wav", noDataChunk, kWavNotWave},
      {"rifx.wav", rifx, kWavNotRiff},
      {"noise.mp3", noise, kWavNotRiff},
      {"empty.flac", Bytes(), kWavNotRiff},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Decoded d = Decode(dir.Write(c.name, c.bytes));
    EXPECT_EQ(std::tuple(d.replaced, d.position, d.format, d.damage, d.readerError),
              std::tuple(false, 0, "", "", c.readerError));
  }
}

TEST(SoundDecoding, AFlacFileCutShortIsSaidToBeDamaged) {
  TempDir dir;
  std::vector<int16_t> noise;
  for (int i = 0; i < 2 * 44100; ++i) noise.push_back(static_cast<int16_t>((i * 7919) % 60001 - 30000));
  // libsndfile reports the decoder's error in some reads and not in others: with one channel the
  // cut shows only as a sound shorter than the header declares.
  for (int channels : {1, 2}) {
    SCOPED_TRACE(channels);
    const std::string flac = WriteSound(dir, "whole.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, channels, noise);
    const std::string bytes = test_support::ReadFileBytes(flac);
    const Decoded d = Decode(dir.Write("cut.flac", bytes.substr(0, bytes.size() / 3)));
    EXPECT_FALSE(d.replaced);
    EXPECT_EQ(d.damage.rfind("\n\ndamaged sound file.\n", 0), 0u) << d.damage;
  }
}

}  // namespace
