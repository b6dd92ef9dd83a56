#include "audio/source_file.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "audio/sound_decoding.h"
#include "audio/wav_reader.h"
#include "shared/sample_store.h"

namespace {

// The source's own format when it was decoded; "" for a file the WAV reader reads itself.
char openedFormat[sizeof SourceDecoding{}.format] = "";

// Fills WavFileName from the open-file dialog; no file chosen ends the process.
void AskForFileName(HWND owner) {
  char title[kFileNameBytes] = "";
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kSoundFileFilter;
  dialog.lpstrFile = SampleStore.WavFileName;
  dialog.nMaxFile = kFileNameBytes;
  dialog.lpstrFileTitle = title;
  dialog.nMaxFileTitle = kFileNameBytes;
  dialog.Flags = OFN_HIDEREADONLY;
  dialog.lpstrDefExt = "wav";
  if (!GetOpenFileNameA(&dialog)) {
    MessageBoxA(NULL, "file名をget出来ませんでした.", "error", MB_OK);
    ExitProcess(1);
  }
}

}  // namespace

const char* OpenedSourceFormat() { return openedFormat; }

void RemoveEnclosingQuotes(char* name) {
  if (name[0] != '"') return;
  const std::size_t length = std::strlen(name);
  if (length > 1 && name[length - 1] == '"') name[length - 1] = '\0';
  std::memmove(name, name + 1, std::strlen(name));  // the terminating zero moves along
}

void OpenSourceFile(HWND owner, int32_t downrateforfft) {
  SampleStoreRecord& store = SampleStore;
  if (store.WavFileName[0] == '\0') AskForFileName(owner);
  RemoveEnclosingQuotes(store.WavFileName);

  // Only a regular file is a sound file: a directory opens as a stream on Linux, and a FIFO or
  // a device would block the start or never end.
  std::error_code error;
  const bool regular = std::filesystem::is_regular_file(store.WavFileName, error);
  store.file = regular ? std::fopen(store.WavFileName, "rb") : nullptr;
  if (store.file == nullptr) {
    char text[kFileNameBytes + 32];
    std::snprintf(text, sizeof text, "dont open wavfile(%.499s)", store.WavFileName);
    MessageBoxA(NULL, text, "", MB_OK);
    ExitProcess(1);
  }
  const SourceDecoding decoding = DecodeIfRefused(store.file);
  store.file = decoding.file;
  if (decoding.damage[0] != '\0') {
    MessageBoxA(NULL, decoding.damage, "", MB_OK);
    ExitProcess(1);
  }
  std::memcpy(openedFormat, decoding.format, sizeof openedFormat);
  store.dataSize = ReadWavHeader(store.file, &store.format);
  store.analysisRate = AnalysisRateFor(store.fileRate, downrateforfft);
  store.blockAlign = store.format.nBlockAlign;
  store.fullScale = 1 << store.format.wBitsPerSample;  // the header admits 8 or 16 bits only
}
