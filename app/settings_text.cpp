// The text the settings file is written with, in its fixed line order.
#include <string>
#include <string_view>

#include "app/settings_file.h"
#include "app/settings_keys.h"

namespace {

using S = SettingsRecord;

// Lines are joined with CR LF on every platform; the last line has no line end.
void Line(std::string& out, std::string_view text) {
  if (!out.empty()) out += "\r\n";
  out += text;
}

void Number(std::string& out, std::string_view label, int32_t value) {
  std::string line(label);
  line += '=';
  line += std::to_string(value);
  Line(out, line);
}

void Key(std::string& out, const S& settings, SettingsField field) {
  Number(out, SettingsKeyOf(field).name, (settings.*field).load());
}

struct WindowFields {
  SettingsField px, py, width, height;
};

// px, py, width, height of one window: live where the window shows where the user put it,
// remembered while it is maximized or when the user wants the remembered ones, remembered
// position with the current size when it lies far off screen (minimized).
void Geometry(std::string& out, const S& settings, const LiveWindow& window, const LiveGeometry& live,
              const WindowFields& fields) {
  const SettingsField order[] = {fields.px, fields.py, fields.width, fields.height};
  int32_t current[4];
  int32_t remembered[4];
  for (int i = 0; i < 4; ++i) {
    current[i] = settings.*order[i];
    remembered[i] = settings.remembered.*SettingsKeyOf(order[i]).remembered;
  }
  const RECT& r = window.rect;
  const bool maximized = window.exists && window.clientWidth == live.fullScreenClientWidth &&
                         window.clientHeight == live.fullScreenClientHeight;
  int32_t values[4];
  if (maximized || settings.withoutsavewindowsetting == 1) {
    for (int i = 0; i < 4; ++i) values[i] = remembered[i];
  } else if (!window.exists) {
    for (int i = 0; i < 4; ++i) values[i] = current[i];
  } else if (r.left > -1000 && r.left < 2000) {
    values[0] = r.left;
    values[1] = r.top;
    values[2] = r.right - r.left;
    values[3] = r.bottom - r.top;
  } else {
    values[0] = remembered[0];
    values[1] = remembered[1];
    values[2] = current[2];
    values[3] = current[3];
  }
  for (int i = 0; i < 4; ++i) Number(out, SettingsKeyOf(order[i]).name, values[i]);
}

// A view window that may be switched off: its current values while it is off, otherwise its
// geometry and its client size (written for the reader's information, never read back).
void ViewWindowBlock(std::string& out, const S& settings, bool off, const LiveWindow& window,
                     const LiveGeometry& live, const WindowFields& fields, std::string_view clientPrefix,
                     SettingsField stop) {
  if (off) {
    for (SettingsField field : {fields.px, fields.py, fields.width, fields.height}) Key(out, settings, field);
  } else {
    Geometry(out, settings, window, live, fields);
    Number(out, std::string(clientPrefix) + "cliantwidth(do not use)", window.clientWidth);
    Number(out, std::string(clientPrefix) + "cliantheight(do not use)", window.clientHeight);
  }
  Key(out, settings, stop);
}

}  // namespace

std::string FormatSettings(const SettingsRecord& settings, const LiveGeometry& live) {
  std::string out;
  Line(out, "[general]");
  Geometry(out, settings, live.main, live,
           {&S::mainwindowpx, &S::mainwindowpy, &S::mainwindowwidth, &S::mainwindowheight});
  Geometry(out, settings, live.fft, live,
           {&S::fftwindowpx, &S::fftwindowpy, &S::fftwindowwidth, &S::fftwindowheight});
  Geometry(out, settings, live.sg, live, {&S::sgwindowpx, &S::sgwindowpy, &S::sgwindowwidth, &S::sgwindowheight});
  // The vectorscope exists only for two-channel sources.
  ViewWindowBlock(out, settings, settings.vswindowstop == 1 || live.channels != 2, live.vs, live,
                  {&S::vswindowpx, &S::vswindowpy, &S::vswindowwidth, &S::vswindowheight}, "vs", &S::vswindowstop);
  ViewWindowBlock(out, settings, settings.wavwindowstop == 1, live.wav, live,
                  {&S::wavwindowpx, &S::wavwindowpy, &S::wavwindowwidth, &S::wavwindowheight}, "wav",
                  &S::wavwindowstop);
  for (SettingsField field :
       {&S::mainwindowparafull, &S::mainwindowinvailintervalvariable, &S::wavblockfanticonst,
        &S::virtualscreendynamicmemaloc, &S::leveltimercalareaper, &S::keyboardshortcut,
        &S::withoutsavewindowsetting, &S::iconselectinini, &S::levelmetertype}) {
    Key(out, settings, field);
  }
  // The playback rate is kept for the reader only: as a comment it is never read back.
  Number(out, "//playfreqoptional", settings.playfreqoptional);
  Key(out, settings, &S::sgfftclosebuttondisable);
  Key(out, settings, &S::processprioritylowonstartup);

  Line(out, "[fft&sg]");
  Key(out, settings, &S::fftsample);
  Key(out, settings, &S::fftwindowsleeptime);
  Line(out, std::string("wfkind=") + settings.wfkind.load());
  for (SettingsField field :
       {&S::fftgraphmagnified, &S::sggraphmagnified, &S::sggraphreturn, &S::sgspectnowait, &S::sgspectmanydraw,
        &S::sgliner, &S::sgcolor, &S::sginterpolate, &S::sggraphtype, &S::vecscpsample, &S::sgunderline,
        &S::sgmousecurhzdis, &S::fftgraphmodelight, &S::pinknoizeflatingfilter, &S::fftradix4flag,
        &S::loudnessrevice, &S::fftgraph0hzdraw, &S::sgwindowlps, &S::sgpeakshow, &S::sghzdraw,
        &S::smoothingfilter, &S::fftdrawold, &S::fftdrawline, &S::sgfftpointshow, &S::sgscaleshowalltime,
        &S::downrateforfft, &S::sgkeycshow}) {
    Key(out, settings, field);
  }

  Line(out, "[wav]");
  Key(out, settings, &S::wavgphffts);
  Key(out, settings, &S::wavwindowsleeptime);
  return out;
}
