// The command line of morvex-render: FILE and OUTDIR, and the options that choose the settings,
// the picture sizes, the moments of the view pictures, the spectrogram's column rate and its
// numbers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RenderOptions {
  std::string file;
  std::string outDir;
  std::string ini;              // "": the built-in defaults
  int32_t width = 0;            // --size: every picture's client size; 0 takes the settings' window sizes
  int32_t height = 0;
  std::vector<double> times;    // --at, in seconds, in the order given
  double columnsPerSecond = 0;  // 0: one column per analysis cycle of the program
  bool csv = false;
  bool help = false;
  bool version = false;
};

extern const char kRenderUsage[];

// Reads argv[1 ..]. Returns "" or what is wrong, in words for the user.
std::string ParseRenderOptions(int argc, char** argv, RenderOptions* options);
