#!/usr/bin/env bash
# Listens to the Linux program through a file: ALSA's default device routed into a file, the
# program, without a display, plays a WAV file of noise through it and is ended by SIGTERM. The
# device must have received the file's sample data whole and in order, with no gap or repeat,
# and the program must end with 0.
#   alsa_file_smoke.sh MORVEX
set -euo pipefail
source "$(dirname "$(realpath "$0")")/alsa_file_device.sh"
work=$(mktemp -d)
program=
cleanup() {
  [ -z "$program" ] || kill "$program" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "alsa file smoke: $*" >&2
  exit 1
}
cp "$1" "$work/morvex"
# Five seconds: several refills of the play buffers, the last one partly filled.
make_noise_wav "$work/noise.wav" "$work/data.raw" 5
route_alsa_default "$work/home" "$work/device.raw"
cd "$work"
HOME="$work/home" env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ./morvex noise.wav 2>morvex.err &
program=$!
wait_for_device device.raw "$(stat -c %s data.raw)" || fail "the device received too little: $(stat -c %s device.raw 2>/dev/null || echo 0) bytes"
# The last buffer's silence after the data.
sleep 1
kill -TERM "$program"
status=0
wait "$program" || status=$?
program=
[ "$status" -eq 0 ] || { cat morvex.err >&2; fail "the program ended with $status"; }
check_device_output device.raw data.raw || fail "wrong device output"
