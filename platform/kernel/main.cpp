// The process entry point on systems without WinMain: answers "--help" and "--version", records
// the command line, routes the close signals to the main window and runs the program's WinMain.
#include <cstdio>
#include <cstring>

#include "platform/kernel/process_start.h"
#include "platform/kernel/signals.h"
#include "platform/win32.h"

int main(int argc, char** argv) {
  // Alone on the command line, these two answer in the terminal; anything else names the file.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("morvex %s\n", MORVEX_VERSION);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::printf("usage: morvex [FILE.wav]\n"
                "Plays a PCM WAV file and shows its level, spectrum, spectrogram, vectorscope and waveform;\n"
                "without a file it asks for one. See morvex(1).\n");
    return 0;
  }
  morvex::kernel::SetCommandLine(argc, argv);
  morvex::kernel::CloseMainWindowOnSignals();
  return WinMain(GetModuleHandleA(nullptr), nullptr, morvex::kernel::ArgumentString(), SW_SHOWDEFAULT);
}
