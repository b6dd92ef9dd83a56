#!/usr/bin/env bash
# The program in real windows, driven as a user drives it: a virtual X display with a window
# manager, the demo sound (stereo) playing, and xdotool typing and clicking. Every view is
# opened and resized; the keys (after "-") pause, play, jump both ways, stop and play again;
# the menus switch every speed and pitch mode on and off, choose FFT size 4096 and the window
# function of kind 5, and one popup is held open for a few seconds. A screenshot then shows
# the status text and the FFT grid, SIGTERM ends the program with 0, and morvex.ini keeps the
# menu choices. Run on a sanitizer build, nothing may be reported. A fifth argument names a
# script sourced after the walk, before SIGTERM, with the walk's helpers at hand.
#   real_window_smoke.sh MORVEX MAKE_DEMO_WAV SCREENSHOT SCREENSHOT_CHECK [MORE_WALK]
set -euo pipefail
morvex=$(realpath "$1") make_demo_wav=$(realpath "$2") screenshot=$(realpath "$3") check=$(realpath "$4")
more_walk=${5:+$(realpath "$5")}
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "real window smoke: $*" >&2
  [ -s "$work/morvex.err" ] && cat "$work/morvex.err" >&2
  exit 1
}
cp "$morvex" "$work/morvex"
"$make_demo_wav" "$work/demo.wav" 60
cd "$work"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
export TSAN_OPTIONS="suppressions=$here/tsan_suppressions.txt ${TSAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$here/lsan_suppressions.txt print_suppressions=0 ${LSAN_OPTIONS:-}"

Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>display 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s display ] && break; sleep 0.1; done
[ -s display ] || fail "the virtual display did not start"
export DISPLAY=":$(cat display)"
openbox >/dev/null 2>&1 &
pids+=($!)
# Windows can be activated only once the window manager has announced itself on the root window.
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || fail "the window manager did not start"

./morvex demo.wav 2>morvex.err &
program=$!
pids+=("$program")
# Sanitizer builds start slowly: every wait is generous.
# xdotool fails with BadWindow when a window (a closing menu) goes while it lists them: such a
# listing is taken again.
find_window() {
  local found
  for _ in $(seq 600); do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
    [ -n "$found" ] && echo "$found" && return 0
    sleep 0.1
  done
  return 1
}
main=$(find_window '^morvex$') || fail "no main window"
fft=$(find_window '^fft window') || fail "no FFT window"
sg=$(find_window '^sg window$') || fail "no spectrogram window"

# The program's windows on the screen, menus included; a menu shows as a window of its own.
shown() {
  local windows
  for _ in $(seq 20); do
    windows=$(xdotool search --onlyvisible --class morvex 2>/dev/null) && break
    sleep 0.05
  done
  echo "$windows" | sort
}
# Waits until a window that `shown` did not list in $1 appears, and prints it.
appeared() {
  local window
  for _ in $(seq 100); do
    window=$(comm -13 <(echo "$1") <(shown) | head -1)
    [ -n "$window" ] && echo "$window" && return 0
    sleep 0.1
  done
  fail "no menu appeared"
}
# Whether window $1 has left the screen within $2 tenths of a second.
left() {
  for _ in $(seq "$2"); do shown | grep -qx "$1" || return 0; sleep 0.1; done
  return 1
}
gone() { left "$1" 100 || fail "a menu stayed open"; }
# A right click (button 3) or middle click (button 2, the system menu) on a window, then the
# keys that walk its menu; Right opens a submenu. Separators and grey items are passed over.
# A loaded machine can hand the first keys to the window before the menu has taken the
# keyboard; then the menu stays open, is closed with Escape and walked again.
menu() {
  local window=$1 button=$2 before popup attempt
  shift 2
  for attempt in 1 2 3; do
    before=$(shown)
    xdotool mousemove --window "$window" 60 60 click "$button"
    popup=$(appeared "$before")
    sleep 0.3
    for k in "$@"; do
      before=$(shown)
      xdotool key "$k"
      if [ "$k" = Right ]; then appeared "$before" >/dev/null; fi
    done
    left "$popup" 50 && return 0
    echo "real window smoke: menu walk $attempt did not close the menu; again" >&2
    xdotool key Escape Escape
    gone "$popup"
  done
  fail "a menu stayed open"
}
# The main popup from its end: wavwindow is 7th from the bottom, vswindow 8th.
menu "$main" 3 Up Up Up Up Up Up Up Return
menu "$main" 3 Up Up Up Up Up Up Up Up Return
vs=$(find_window '^vectorscope$') || fail "no vectorscope window"
wav=$(find_window '^wav window$') || fail "no waveform window"

# Each view moved to a place of its own and resized.
x=20
for window in "$main" "$fft" "$sg" "$vs" "$wav"; do
  xdotool windowmove "$window" $((x % 1380)) $((x / 1380 * 330 + 20)) windowsize "$window" 420 260
  x=$((x + 460))
done
sleep 1
# Where the main window's and the FFT window's client areas lie on the screen.
client_area() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^[XYWIDTHEG]*=//p' | paste -sd' '; }
areas="$(client_area "$main") $(client_area "$fft")"
# The views draw again after a resize when their threads next run: a busy machine gets a
# few more looks.
for attempt in 1 2 3 4 5; do
  "$screenshot" shot.png || fail "no screenshot"
  # shellcheck disable=SC2086
  "$check" shot.png $areas >shot.txt 2>&1 && break
  [ "$attempt" -lt 5 ] || { cat shot.txt >&2; fail "the screenshot does not show the views"; }
  sleep 1
done

key() {
  xdotool windowactivate --sync "$main" key "$1"
  sleep "${2:-1}"
}
key minus 0.2
key t
key p
key h 2
key g 2
key s
key p
# Double speed by decimation (8th item of the main popup) on and off, then by blocks (9th:
# the grey pitch item is passed over) on and off (8th: the decimation item is grey meanwhile).
menu "$main" 3 Down Down Down Down Down Down Down Down Return
sleep 1.5
menu "$main" 3 Down Down Down Down Down Down Down Down Return
menu "$main" 3 Down Down Down Down Down Down Down Down Down Return
sleep 1.5
menu "$main" 3 Down Down Down Down Down Down Down Down Return
# The debug menu in the system menu, from its end: half pitch is 4th, half speed 3rd.
for item in "Up Up Up Up" "Up Up Up"; do
  # shellcheck disable=SC2086
  menu "$main" 2 Up Right $item Return
  key t 0.5
  key p 1.5
  # shellcheck disable=SC2086
  menu "$main" 2 Up Right $item Return
done
# The FFT window's popup: the window function submenu is its first item, fftsample its 6th.
menu "$fft" 3 Down Right Down Down Down Down Return
menu "$fft" 3 Down Down Down Down Down Down Right Down Down Down Down Down Down Return
key s 0.5
key p 2
# A popup held open while the sound plays on.
before=$(shown)
xdotool mousemove --window "$sg" 60 60 click 3
popup=$(appeared "$before")
sleep 3
xdotool key Escape
gone "$popup"

# shellcheck disable=SC1090
[ -z "$more_walk" ] || source "$more_walk"

kill -0 "$program" 2>/dev/null || fail "the program ended before SIGTERM"
kill -TERM "$program"
status=0
for _ in $(seq 300); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
wait "$program" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with $status"
! grep -q -e 'Sanitizer' -e 'runtime error' morvex.err || fail "the sanitizer reported"
grep -qx $'fftsample=4096\r' morvex.ini || fail "morvex.ini lacks the chosen FFT size"
grep -qx $'wfkind=h\r' morvex.ini || fail "morvex.ini lacks the chosen window function"
