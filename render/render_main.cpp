// morvex-render: the views of a sound file as PNG pictures, made by the program's own analysis
// and drawing code into memory surfaces, without a display or a sound device.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "analysis/screen_surface.h"
#include "app/settings_file.h"
#include "platform/win32.h"
#include "render/render_analysis.h"
#include "render/render_options.h"
#include "render/render_source.h"
#include "render/render_spectrogram.h"
#include "render/render_surface.h"
#include "render/render_views.h"
#include "shared/sample_store.h"
#include "shared/settings.h"

namespace {

constexpr int kBadFile = 1;
constexpr int kBadOptions = 2;

int BadOptions(const std::string& what) {
  std::fprintf(stderr, "morvex-render: %s\n%s", what.c_str(), kRenderUsage);
  return kBadOptions;
}

int Failed(const std::string& what) {
  std::fprintf(stderr, "morvex-render: %s\n", what.c_str());
  return kBadFile;
}

// The checks that need the open source: every moment inside the sound, a picture of a size the
// memory allows.
std::string CheckAgainstSource(const RenderOptions& options, const SpectrogramPlan& plan) {
  const double seconds = static_cast<double>(SourceSoundBytes()) / SampleStore.format.nAvgBytesPerSec;
  for (const double at : options.times) {
    if (at >= seconds) {
      char text[128];
      std::snprintf(text, sizeof text, "--at %s lies beyond the end of the sound (%.3f s)", MomentName(at).c_str(),
                    seconds);
      return text;
    }
  }
  const int64_t pixels = static_cast<int64_t>(plan.margin + plan.columns) * plan.height;
  if (pixels > kMostSpectrogramPixels) {
    return "the spectrogram would be " + std::to_string(plan.margin + plan.columns) + "x" +
           std::to_string(plan.height) + " pixels, more than " + std::to_string(kMostSpectrogramPixels) +
           "; lower --columns-per-second or the height";
  }
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  RenderOptions options;
  if (const std::string wrong = ParseRenderOptions(argc, argv, &options); !wrong.empty()) return BadOptions(wrong);
  if (options.help) {
    std::fputs(kRenderUsage, stdout);
    return 0;
  }
  if (options.version) {
    std::printf("morvex-render %s\n", MORVEX_VERSION);
    return 0;
  }
  // The pictures are drawn into memory whatever the session has: no window is ever shown.
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  if (!options.ini.empty()) {
    if (!std::ifstream(options.ini).good()) return BadOptions("cannot read the settings file " + options.ini);
    LoadSettings(Settings, options.ini.c_str());
  }
  if (!OpenRenderSource(options.file.c_str())) return BadOptions("the file name is longer than the program takes");

  RenderSurface screen(1, 1);
  const HFONT font = CreateTextFont(screen.dc());
  const ClientSize forced{options.width, options.height};
  const ViewSizes sizes = ChooseViewSizes(forced);
  const int32_t height = forced.height > 0 ? forced.height : WindowClientSize(Settings.sgwindowwidth, Settings.sgwindowheight).height;
  const double rate = options.columnsPerSecond > 0 ? options.columnsPerSecond : ProgramCycleRate();
  const SpectrogramPlan plan = PlanSpectrogram(rate, height, font);
  if (const std::string wrong = CheckAgainstSource(options, plan); !wrong.empty()) return BadOptions(wrong);

  std::error_code error;
  std::filesystem::create_directories(options.outDir, error);
  if (!std::filesystem::is_directory(options.outDir)) return Failed("cannot make the folder " + options.outDir);

  StartRenderAnalysis();
  for (const double at : options.times) {
    if (const std::string failed = RenderViewsAt(at, sizes, font, options.outDir); !failed.empty()) return Failed(failed);
  }
  const std::string csv = options.csv ? options.outDir + "/spectrogram.csv" : "";
  if (const std::string failed = RenderSpectrogram(plan, font, options.outDir + "/spectrogram.png", csv);
      !failed.empty()) {
    return Failed(failed);
  }
  DeleteObject(font);
  return 0;
}
