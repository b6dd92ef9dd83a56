// Choosing and opening the sound file while the main window is created.
#pragma once

#include <cstdint>

#include "platform/win32.h"

// Opens SampleStore.WavFileName (asking with the open-file dialog, owned by `owner`, when it is
// empty), reads its header and fills SampleStore's format fields: file, format, fileRate,
// dataOffset, dataSize, analysisRate (by `downrateforfft`), blockAlign and fullScale. The stream
// is left at the first sample byte. A file the WAV reader refuses for its format alone is
// decoded first (sound_decoding.h) and SampleStore.file is then its 16-bit WAV.
//
// Ends the process with exit code 1, after a message box, when no file is chosen, the name is not
// a readable regular file, its header is refused or its sound cannot be decoded. The caller greys the vectorscope command (id 65) when
// SampleStore.format.nChannels is not 2, and sets durationSeconds once the device is open.
void OpenSourceFile(HWND owner, int32_t downrateforfft);

// The opened source's own format when it was decoded ("flac 24bit"); "" for a WAV file the
// reader reads itself.
const char* OpenedSourceFormat();

// Removes a leading double quote, and with it a trailing one when there is one, in place.
void RemoveEnclosingQuotes(char* name);
