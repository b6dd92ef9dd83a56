#!/usr/bin/env bash
# Measures the sound-to-picture latency of the program in real windows: builds the latency probe
# (bench/latency/latency_probe.cpp) in a Release tree and runs it, on the desktop named by
# DISPLAY or else on a virtual X screen. The probe plays a WAV of silence with tone bursts and
# prints, per view, the median and 99th percentile of the time from a burst's first sample being
# played (by the device's reported position) to the view first showing it, in the window's
# surface and on the screen. Negative values: the picture came before the sound.
#   bench/latency.sh [bursts]      (default 200, 0.45 s each)
set -euo pipefail

build_dir="$(bash "$(dirname "$0")/build.sh" morvex_latency)"

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
if [ -n "${DISPLAY:-}" ]; then
  "$build_dir/bench/morvex_latency" "$@"
else
  xvfb-run -a -s "-screen 0 1600x1000x24" "$build_dir/bench/morvex_latency" "$@"
fi
