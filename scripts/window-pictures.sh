#!/usr/bin/env bash
# Makes the README's pictures of the program's windows: builds the release program as
# scripts/run.sh does (in build/), plays the demo sound in a virtual X display with a window
# manager, every view open and each window in a place of its own, and once the views show the
# sound cuts each window, title bar included, out of the screen into docs/pictures/:
# main.png, fft.png, sg.png, vectorscope.png and wav.png. Then it opens the right-click menu
# of each window (and the main window's "menu for debug") and cuts it out too, as
# <window>-menu.png. Run it again after a change to what the windows or menus show.
#   scripts/window-pictures.sh [DISPLAY_NUMBER]   (default: the first free one)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out="$root/docs/pictures"

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVEX_BUILD_TESTS=OFF >/dev/null
cmake --build build -j2 --target morvex make_demo_wav screenshot
screenshot="$root/build/tools/screenshot"

# A work folder removed at the end with every process in `pids`, and `fail`, as for the
# end-to-end tests.
source tests/smoke/script_support.sh window-pictures
cp build/morvex "$work/morvex"
build/tools/make_demo_wav "$work/demo.wav" 30
cd "$work"
# Every view open, side by side on a 1280 x 800 screen, at sizes that show what each draws.
printf '%s\r\n' '[general]' \
  mainwindowpx=10 mainwindowpy=10 mainwindowwidth=520 mainwindowheight=300 \
  fftwindowpx=560 fftwindowpy=10 fftwindowwidth=520 fftwindowheight=300 \
  sgwindowpx=10 sgwindowpy=360 sgwindowwidth=520 sgwindowheight=320 \
  vswindowpx=560 vswindowpy=360 vswindowwidth=260 vswindowheight=260 \
  wavwindowpx=850 wavwindowpy=360 wavwindowwidth=400 wavwindowheight=200 \
  vswindowstop=0 wavwindowstop=0 >morvex.ini

unset WAYLAND_DISPLAY QT_QPA_PLATFORM
if [ $# -ge 1 ]; then
  Xvfb ":$1" -screen 0 1280x800x24 -nolisten tcp 2>/dev/null &
  pids+=($!)
  echo "$1" >display
else
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>display 2>/dev/null &
  pids+=($!)
  for _ in $(seq 100); do [ -s display ] && break; sleep 0.1; done
fi
[ -s display ] || fail "the virtual display did not start"
export DISPLAY=":$(cat display)"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done

./morvex demo.wav 2>morvex.err &
program=$!
pids+=("$program")
find_window() {
  local found
  for _ in $(seq 300); do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
    [ -n "$found" ] && echo "$found" && return 0
    sleep 0.1
  done
  fail "no window titled like $1"
}
main=$(find_window '^morvex$')
fft=$(find_window '^fft window')
sg=$(find_window '^sg window$')
vs=$(find_window '^vectorscope$')
wav=$(find_window '^wav window$')
sleep 3

# Cuts a rectangle of the screen into docs/pictures/$1.png.
cut() {
  "$screenshot" "$out/$1.png" "$2" "$3" "$4" "$5" || fail "no picture of $1"
  echo "$out/$1.png"
}
# Where window $1 lies on the screen: x, y, width and height of its inside. (xwininfo, since
# xdotool counts a window manager's frame offset twice.)
geometry() {
  xwininfo -id "$1" | awk -F: '/Absolute upper-left X/ {x = $2} /Absolute upper-left Y/ {y = $2}
    /^ *Width/ {w = $2} /^ *Height/ {h = $2} END {print x + 0, y + 0, w + 0, h + 0}'
}
# A window with the frame the window manager draws around it (the title bar shows its title).
cut_window() {
  local x y width height left right top bottom
  read -r x y width height < <(geometry "$2")
  read -r left right top bottom < <(xprop -id "$2" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  cut "$1" $((x - left)) $((y - top)) $((width + left + right)) $((height + top + bottom))
}
mkdir -p "$out"
cut_window main "$main"
cut_window fft "$fft"
# The spectrogram fills from the left as the sound plays and starts again at the left once
# full, at a speed that depends on the machine: of cuts half a second apart, the one with the
# most drawn (the largest file) is kept, until a cut shows it has started again.
best=0
for _ in $(seq 40); do
  cut_window sg-next "$sg" >/dev/null
  size=$(stat -c %s "$out/sg-next.png")
  [ "$size" -lt $((best / 2)) ] && break
  [ "$size" -gt "$best" ] && best=$size && cp "$out/sg-next.png" "$out/sg.png"
  sleep 0.5
done
rm "$out/sg-next.png"
echo "$out/sg.png"
cut_window vectorscope "$vs"
cut_window wav "$wav"

# The program's windows on the screen; an open menu is a window of its own.
shown() { xdotool search --onlyvisible --class morvex 2>/dev/null | sort || true; }
# Opens a menu with a click of button $3 on window $2 and the keys after it (Right opens a
# submenu), cuts out the menu that opened last, and closes them all.
cut_menu() {
  local name=$1 window=$2 button=$3 before menu=""
  shift 3
  before=$(shown)
  xdotool mousemove --window "$window" 30 40 click "$button"
  for key in "$@"; do
    sleep 0.5
    xdotool key "$key"
  done
  for _ in $(seq 50); do
    menu=$(comm -13 <(echo "$before") <(shown) | tail -1)
    [ -n "$menu" ] && break
    sleep 0.1
  done
  [ -n "$menu" ] || fail "no menu opened for $name"
  sleep 0.5
  # shellcheck disable=SC2046
  cut "$name-menu" $(geometry "$menu")
  xdotool key Escape Escape Escape
  sleep 0.5
}
cut_menu main "$main" 3
cut_menu debug "$main" 2 Up Right
cut_menu fft "$fft" 3
cut_menu sg "$sg" 3
cut_menu vectorscope "$vs" 3
cut_menu wav "$wav" 3

kill -TERM "$program"
wait "$program" || fail "the program ended with $?"
