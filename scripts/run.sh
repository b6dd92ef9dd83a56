#!/usr/bin/env bash
# Builds morvex and morvex-render (Release, in build/) and plays a WAV file with it: the given one, or else the
# generated demo sound build/demo.wav.
#   scripts/run.sh [FILE.wav]
# With a desktop (DISPLAY or WAYLAND_DISPLAY set) the program opens its windows there and runs
# until it is closed. Without one it runs for about eight seconds on a virtual X screen; a
# picture of that screen is saved as build/screenshot.png, then the program is ended with
# SIGTERM (which closes it as its close button does).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVEX_BUILD_TESTS=OFF >/dev/null
cmake --build build -j2 --target morvex morvex-render make_demo_wav screenshot

if [ $# -ge 1 ]; then
  wav=$(realpath "$1")
else
  wav="$root/build/demo.wav"
  build/tools/make_demo_wav "$wav"
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/morvex "$wav"
fi

screenshot="$root/build/screenshot.png"
rm -f "$screenshot"
# The program, the screenshot and the ending all run inside the virtual server's session.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  build/morvex "$1" &
  program=$!
  sleep 8
  build/tools/screenshot "$2" || true
  kill -TERM "$program" 2>/dev/null || true
  # It writes its settings and ends; a program that hangs is not waited for long.
  for _ in $(seq 50); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$program" 2>/dev/null || true
  wait "$program" || echo "morvex ended with exit code $?"
' run "$wav" "$screenshot"

if [ -f "$screenshot" ]; then
  echo "screenshot: $screenshot"
else
  echo "no screenshot was taken" >&2
  exit 1
fi
