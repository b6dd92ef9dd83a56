// Sound files the WAV reader refuses for their format alone (24- and 32-bit or floating-point
// samples, the extensible header, more than two channels, FLAC, Ogg Vorbis and Opus, MP3,
// AIFF, AU, W64, RF64), decoded once at the start into a temporary 16-bit PCM WAV file that the
// WAV reader then reads as it reads any other: playback, the views and the displays see a
// 16-bit WAV of the same sound at the file's own rate.
//
// Samples are rounded to the nearest 16-bit value (halves to even) and clipped at full scale,
// without dither. Every 8- and 16-bit WAV file the reader refuses keeps its refusal.
#pragma once

#include <cstdio>

struct SourceDecoding {
  FILE* file = nullptr;      // the stream to play from, at byte 0: the file itself or its decoding
  char format[32] = "";      // the file's own format when it was decoded ("flac 24bit"), else ""
  char damage[160] = "";     // a file that opened but whose sound could not be decoded: the message
};

// Looks at `file` (open for binary reading) and, when the WAV reader refuses it for its format
// alone and it can be decoded, closes it and hands back the decoded WAV in its place. Every
// other file comes back itself, rewound, for the WAV reader to accept or refuse. A file whose
// decoding fails comes back itself with `damage` set. Notes on standard error what the
// decoding leaves out (channels beyond two, sound beyond the longest WAV the reader reads).
SourceDecoding DecodeIfRefused(FILE* file);

// The open-file dialog's filter list: the WAV files first, then every sound file decoded here.
extern const char kSoundFileFilter[];
