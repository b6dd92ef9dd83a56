#include "render/render_options.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

const char kRenderUsage[] =
    "usage: morvex-render [options] FILE OUTDIR\n"
    "Renders the views of a sound file to PNG pictures in OUTDIR, without a display or a sound device:\n"
    "spectrogram.png, the whole file, one column per analysis step; with --at, fft-T.png, waveform-T.png\n"
    "and (two channels) vectorscope-T.png as the windows show them T seconds into the sound.\n"
    "  --ini PATH               settings from this morvex.ini (default: the built-in defaults)\n"
    "  --size WxH               client size of every picture (default: the settings' window sizes;\n"
    "                           the spectrogram takes the height)\n"
    "  --at SECONDS             the view pictures at this moment (repeatable)\n"
    "  --columns-per-second R   spectrogram columns per second of sound (default: the program's\n"
    "                           analysis cycles, 1000 / fftwindowsleeptime)\n"
    "  --csv                    also spectrogram.csv: time, then the level at each bin frequency\n"
    "  --help, --version\n"
    "Exit codes: 0 done, 1 a file that cannot be read or a picture that cannot be written, 2 bad options.\n";

namespace {

constexpr int32_t kLargestSide = 4096;
constexpr double kMostColumnsPerSecond = 10000.0;

bool ParseNumber(std::string_view text, double* value) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, *value);
  return result.ec == std::errc() && result.ptr == end && std::isfinite(*value);
}

bool ParseSide(std::string_view text, int32_t* value) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, *value);
  return result.ec == std::errc() && result.ptr == end && *value >= 1 && *value <= kLargestSide;
}

bool ParseSize(std::string_view text, RenderOptions* options) {
  const size_t x = text.find('x');
  return x != std::string_view::npos && ParseSide(text.substr(0, x), &options->width) &&
         ParseSide(text.substr(x + 1), &options->height);
}

// One option with its value; "" or what is wrong.
std::string TakeValue(std::string_view name, std::string_view value, RenderOptions* options) {
  const std::string quoted = "'" + std::string(value) + "'";
  if (name == "--ini") {
    if (value.empty()) return "--ini needs a file name";
    options->ini = value;
    return "";
  }
  if (name == "--size") {
    return ParseSize(value, options) ? "" : "--size wants WIDTHxHEIGHT, each 1 to 4096, not " + quoted;
  }
  double number = 0;
  if (name == "--at") {
    if (!ParseNumber(value, &number) || number < 0) return "--at wants seconds from 0 on, not " + quoted;
    options->times.push_back(number);
    return "";
  }
  if (!ParseNumber(value, &number) || number <= 0 || number > kMostColumnsPerSecond) {
    return "--columns-per-second wants a number above 0 and at most 10000, not " + quoted;
  }
  options->columnsPerSecond = number;
  return "";
}

bool TakesValue(std::string_view name) {
  return name == "--ini" || name == "--size" || name == "--at" || name == "--columns-per-second";
}

}  // namespace

std::string ParseRenderOptions(int argc, char** argv, RenderOptions* options) {
  std::vector<std::string> operands;
  bool optionsEnd = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (optionsEnd || arg.size() < 2 || arg[0] != '-') {
      operands.emplace_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnd = true;
    } else if (arg == "--help") {
      options->help = true;
    } else if (arg == "--version") {
      options->version = true;
    } else if (arg == "--csv") {
      options->csv = true;
    } else {
      const size_t equals = arg.find('=');
      const std::string_view name = arg.substr(0, equals);
      if (!TakesValue(name)) return "unknown option '" + std::string(name) + "'";
      std::string_view value;
      if (equals != std::string_view::npos) {
        value = arg.substr(equals + 1);
      } else if (i + 1 < argc) {
        value = argv[++i];
      } else {
        return std::string(name) + " needs a value";
      }
      if (std::string wrong = TakeValue(name, value, options); !wrong.empty()) return wrong;
    }
  }
  if (options->help || options->version) return "";
  if (operands.size() != 2) return operands.size() < 2 ? "FILE and OUTDIR are needed" : "more than FILE and OUTDIR given";
  options->file = operands[0];
  options->outDir = operands[1];
  return "";
}
