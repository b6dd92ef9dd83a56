// The process entry point on systems without WinMain: records the command line, routes the
// close signals to the main window and runs the program's WinMain.
#include "platform/kernel/process_start.h"
#include "platform/kernel/signals.h"
#include "platform/win32.h"

int main(int argc, char** argv) {
  morvex::kernel::SetCommandLine(argc, argv);
  morvex::kernel::CloseMainWindowOnSignals();
  return WinMain(GetModuleHandleA(nullptr), nullptr, morvex::kernel::ArgumentString(), SW_SHOWDEFAULT);
}
