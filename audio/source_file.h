// Choosing and opening the sound file while the main window is created.
#pragma once

#include <cstdint>

#include "platform/win32.h"

// Opens SampleStore.WavFileName (asking with the open-file dialog, owned by `owner`, when it is
// empty), reads its header and fills SampleStore's format fields: file, format, fileRate,
// dataOffset, dataSize, analysisRate (by `downrateforfft`), blockAlign and fullScale. The stream
// is left at the first sample byte.
//
// Ends the process with exit code 1, after a message box, when no file is chosen, the name is not
// a readable regular file or its header is refused. The caller greys the vectorscope command (id 65) when
// SampleStore.format.nChannels is not 2, and sets durationSeconds once the device is open.
void OpenSourceFile(HWND owner, int32_t downrateforfft);

// Removes a leading double quote, and with it a trailing one when there is one, in place.
void RemoveEnclosingQuotes(char* name);
