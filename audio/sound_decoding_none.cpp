// Where libsndfile is not at hand, every file is the WAV reader's to accept or refuse.
#include "audio/sound_decoding.h"

SourceDecoding DecodeIfRefused(FILE* file) {
  SourceDecoding result;
  result.file = file;
  return result;
}

const char kSoundFileFilter[] = "wavfile(*.wav)\0*.wav\0";
