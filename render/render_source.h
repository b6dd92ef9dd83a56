// The sound file, opened as the program opens it (the WAV reader, and the decoding of the
// formats it refuses), and read at any place for the analysis.
#pragma once

#include <cstdint>

// Opens `path` into SampleStore with the program's own refusals: a file that cannot be opened,
// read or decoded gets the program's message on standard error and ends the process with exit
// code 1. False, with nothing opened, when the name is too long for the program's buffer.
bool OpenRenderSource(const char* path);

// Bytes of sound from the first sample byte to the physical end of the file, whole frames only:
// what playing the file plays.
int64_t SourceSoundBytes();

// `count` bytes of sound from byte `position` of the sound into `out`; zeros beyond its end.
void ReadSourceSound(int64_t position, char* out, int32_t count);
