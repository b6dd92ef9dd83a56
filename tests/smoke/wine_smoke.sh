#!/usr/bin/env bash
# Runs the Windows build under Wine in a virtual X display with a window manager, as on a
# Windows set to Japanese: a private Wine prefix, and ALSA's default device routed into a file
# by a private .asoundrc. It plays a WAV file of noise and checks that
#   - the program's texts are held in code page 932,
#   - the main window ("morvex") and the FFT window ("fft window(...") appear,
#   - the device received the file's sample data, whole and in order (silence around it allowed),
#   - closing the main window ends the program with 0 and writes morvex.ini with CR LF line
#     ends, keeping the settings it was started with.
#   wine_smoke.sh MORVEX.EXE
set -euo pipefail
source "$(dirname "$(realpath "$0")")/alsa_file_device.sh"
exe=$(realpath "$1")
work=$(mktemp -d)
pids=()
cleanup() {
  WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "wine smoke: $*" >&2
  exit 1
}
step() { echo "wine smoke: $*"; }

# Text in code page 932, not UTF-8: a label of the FFT window's menu.
label=周波数軸logに
grep -qaF "$(printf %s "$label" | iconv -f UTF-8 -t CP932)" "$exe" || fail "no code page 932 texts in $exe"
! grep -qaF "$label" "$exe" || fail "UTF-8 texts in $exe"

# The program's folder: the executable, a WAV file of noise (16-bit stereo, 44100 Hz, 3 s, the
# first sample non-zero so that the device's output shows where the data begin), and settings
# that differ from the defaults, with CR LF line ends.
app="$work/app"
mkdir -p "$app" "$work/home"
cp "$exe" "$app/morvex.exe"
make_noise_wav "$app/noise.wav" "$work/data.raw" 3
data_bytes=$(stat -c %s "$work/data.raw")
kept_settings=(fftsample=4096 wfkind=h sgcolor=0 levelmetertype=3 fftwindowsleeptime=7)
printf '%s\r\n' '[fft&sg]' "${kept_settings[@]}" > "$app/morvex.ini"

route_alsa_default "$work/home" "$work/device.raw"
export HOME="$work/home" WINEPREFIX="$work/prefix" WINEARCH=win32 WINEDEBUG=-all
# No downloads of Wine's .NET and HTML engines; Japanese locale, so code page 932.
export WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ja_JP.UTF-8
unset WAYLAND_DISPLAY

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "the virtual display did not start"
export DISPLAY=":$(cat "$work/display")"
openbox >/dev/null 2>&1 &
pids+=($!)

step "preparing the Wine prefix"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1

step "playing $((data_bytes / 176400)) s of noise"
cd "$app"
wine morvex.exe noise.wav >"$work/morvex.log" 2>&1 &
program=$!
main=$(timeout 60 xdotool search --sync --name '^morvex$' | head -1) || fail "no main window titled morvex"
timeout 30 xdotool search --sync --name '^fft window\(' >/dev/null || fail "no FFT window"
step "main window and FFT window are open"
wait_for_device "$work/device.raw" "$data_bytes" || true
sleep 1

step "closing the main window"
xdotool windowactivate --sync "$main" key alt+F4
for _ in $(seq 300); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program" 2>/dev/null && fail "the program did not end after its main window was closed"
status=0
wait "$program" || status=$?
[ "$status" -eq 0 ] || { cat "$work/morvex.log" >&2; fail "the program ended with $status"; }

# The device's output: silence, then the file's sample data, then silence.
check_device_output "$work/device.raw" "$work/data.raw" || fail "wrong device output"
step "the device received the file's $data_bytes bytes of sample data in order"

ini="$app/morvex.ini"
lines=$(tr -cd '\n' <"$ini" | wc -c)
crlf=$(grep -c $'\r$' "$ini" || true)
[ "$lines" -gt 50 ] && [ "$crlf" -eq "$lines" ] || fail "morvex.ini is not written with CR LF line ends"
[ "$(head -n 1 "$ini")" = $'[general]\r' ] || fail "morvex.ini does not start with [general]"
[ "$(tail -c 1 "$ini")" != $'\n' ] || fail "morvex.ini ends with a line end"
for setting in "${kept_settings[@]}"; do
  grep -qx "$setting"$'\r' "$ini" || fail "morvex.ini lost $setting"
done
step "morvex.ini written with CR LF, settings kept"
