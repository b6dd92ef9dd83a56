#!/usr/bin/env bash
# The program on a Wayland desktop: a headless Weston compositor with XWayland, as Debian's
# default desktop offers both. With both displays named, the program's windows are X windows,
# placed relative to each other as the settings say, and a close keeps those places in
# morvex.ini. With Wayland alone the program runs on Wayland, and since a Wayland client cannot
# learn where its windows are, the places saved are the ones read, byte for byte.
#   wayland_desktop_smoke.sh MORVEX MAKE_DEMO_WAV
set -euo pipefail
morvex=$(realpath "$1") make_demo_wav=$(realpath "$2")
source "$(dirname "$(realpath "$0")")/script_support.sh" "wayland desktop smoke"
chmod 700 "$work"  # the compositor's runtime folder
cp "$morvex" "$work/morvex"
"$make_demo_wav" "$work/demo.wav" 30
cd "$work"
unset QT_QPA_PLATFORM DISPLAY
export XDG_RUNTIME_DIR="$work" WAYLAND_DISPLAY=wayland-morvex-smoke

weston --backend=headless-backend.so --xwayland --socket="$WAYLAND_DISPLAY" --width=1280 --height=1024 \
  --no-config >weston.log 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q 'xserver listening on display' weston.log && break; sleep 0.1; done
x_display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' weston.log)
[ -n "$x_display" ] || fail "Weston with XWayland did not start: $(cat weston.log)"

# Places apart from the defaults, so that a place the program did not read would show.
printf '[general]\r\nmainwindowpx=333\r\nmainwindowpy=170\r\nfftwindowpx=20\r\nfftwindowpy=400\r\n' >morvex.ini

run() {  # runs the program for a few seconds; extra environment in the arguments
  env "$@" ./morvex demo.wav 2>morvex.err &
  program=$!
  pids+=("$program")
  sleep 6
  kill -0 "$program" 2>/dev/null || fail "the program ended early"
}
close() {
  kill -TERM "$program"
  local code=0
  wait "$program" || code=$?
  [ "$code" -eq 0 ] || fail "the program ended with $code"
}
setting() { tr -d '\r' <morvex.ini | sed -n "s/^$1=//p"; }

run DISPLAY="$x_display"
where() {  # the top left corner of the window with this title, as X reports it; nothing when none
  local window
  window=$(DISPLAY="$x_display" xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
  [ -n "$window" ] || return 0
  DISPLAY="$x_display" xdotool getwindowgeometry "$window" | sed -n 's/ *Position: \([0-9-]*\),\([0-9-]*\).*/\1 \2/p'
}
main=$(where '^morvex$')
fft=$(where '^fft window')
[ -n "$main" ] && [ -n "$fft" ] || fail "no X windows: the program did not choose X"
read -r main_x main_y <<<"$main"
read -r fft_x fft_y <<<"$fft"
# The desktop's panel and frames move every window alike: the distances are the settings'.
[ $((main_x - fft_x)) -eq $((333 - 20)) ] && [ $((main_y - fft_y)) -eq $((170 - 400)) ] ||
  fail "main window at $main_x,$main_y and FFT window at $fft_x,$fft_y are not placed as the settings say"
close
for key_value in mainwindowpx=333 mainwindowpy=170 fftwindowpx=20 fftwindowpy=400; do
  [ "$(setting "${key_value%=*}")" = "${key_value#*=}" ] ||
    fail "after a close on XWayland ${key_value%=*} is $(setting "${key_value%=*}"), not ${key_value#*=}"
done
echo "XWayland: main window at $main_x,$main_y, FFT window at $fft_x,$fft_y; their places kept"

cp morvex.ini read.ini
run
grep -q 'libqwayland' /proc/"$program"/maps || fail "the program did not start on Wayland"
close
cmp read.ini morvex.ini || fail "with Wayland alone the settings changed: $(diff <(tr -d '\r' <read.ini) <(tr -d '\r' <morvex.ini))"
echo "Wayland alone: the program ran on Wayland and the settings file is unchanged"
