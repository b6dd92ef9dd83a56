// Process start-up on systems where the platform, not the program, owns main().
#pragma once

namespace morvex::kernel {

// Records the command line ("morvex" path followed by the arguments joined by single spaces)
// and the argument string handed to WinMain. A first argument "--" is left out of both.
void SetCommandLine(int argc, char** argv);

// The argument string: the program's arguments joined by single spaces.
char* ArgumentString();

}  // namespace morvex::kernel
