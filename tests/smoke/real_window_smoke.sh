#!/usr/bin/env bash
# Starts morvex on the demo sound in a virtual X display with its default settings, takes a
# screenshot after a few seconds, ends it with SIGTERM and checks the screenshot's pixels and
# the exit code.
#   real_window_smoke.sh MORVEX MAKE_DEMO_WAV SCREENSHOT SCREENSHOT_CHECK
set -euo pipefail
morvex=$1 make_demo_wav=$2 screenshot=$3 check=$4
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$morvex" "$work/morvex"
"$make_demo_wav" "$work/demo.wav" 8
cd "$work"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
export TSAN_OPTIONS="suppressions=$here/tsan_suppressions.txt ${TSAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$here/lsan_suppressions.txt ${LSAN_OPTIONS:-}"
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  ./morvex demo.wav 2>morvex.err &
  program=$!
  sleep 4
  "$1" shot.png
  kill -TERM "$program"
  for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  wait "$program"
' smoke "$screenshot" || status=$?
cat morvex.err >&2 || true
if [ "$status" -ne 0 ]; then
  echo "morvex or the screenshot failed with status $status" >&2
  exit 1
fi
test -s morvex.ini || { echo "no settings file was written" >&2; exit 1; }
"$check" shot.png
