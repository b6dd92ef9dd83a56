#!/usr/bin/env bash
# `cmake --install` into a staging folder, as a packager does: every file in its standard place,
# the desktop entry, metainfo and manual page accepted by their validators, and the installed
# program, started by a normal user through the desktop entry's Exec line on a virtual display,
# plays a WAV file and keeps its settings in that user's configuration folder (nothing beside
# the executable or in the current folder).
#   install_test.sh BUILD_DIR MAKE_DEMO_WAV SCREENSHOT
set -euo pipefail
build=$(realpath "$1") make_demo_wav=$(realpath "$2") screenshot=$(realpath "$3")
source "$(dirname "$(realpath "$0")")/../smoke/script_support.sh" "install test"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
stage="$work/stage"
DESTDIR="$stage" cmake --install "$build" >/dev/null
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
root="$stage$prefix"
id=org.morvex.morvex
for file in bin/morvex bin/morvex-render share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/man/man1/morvex.1.gz share/man/man1/morvex-render.1.gz \
            share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/morvex.png \
            share/doc/morvex/README.md share/doc/morvex/docs/pictures/{main,fft,sg,vectorscope,wav}{,-menu}.png; do
  [ -f "$root/$file" ] || fail "$prefix/$file was not installed"
done
echo "installed under $prefix: $(cd "$root" && find . -type f | sort | tr '\n' ' ')"

desktop="$root/share/applications/$id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$root/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
page="$root/share/man/man1/morvex.1.gz"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page renders with warnings: $warnings"
lexgrog "$page" || fail "lexgrog finds no name line in the manual page"
# The icons are the program's own 32-pixel picture, at the size their folder names.
for size in 16 48 256; do
  file "$root/share/icons/hicolor/${size}x${size}/apps/morvex.png" | grep -q "$size x $size" ||
    fail "the ${size}x${size} icon has another size"
done

# A normal user: this one when not root, otherwise nobody. The installed folders are not theirs
# to write, as after a real installation.
chmod -R a+rX,go-w "$work"
chmod a-w "$root/bin"
user=$(id -un)
as_user=()
home="$work/home"
mkdir -p "$home/music"
"$make_demo_wav" "$home/music/demo.wav" 30
if [ "$(id -u)" -eq 0 ]; then
  user=nobody
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  chown -R nobody:nogroup "$home"
fi

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "the virtual display did not start"
display=":$(cat "$work/display")"

# The desktop's way to start it: the Exec line, %f replaced by the file, the program found on PATH.
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ "$exec_line" = "morvex %f" ] || fail "Exec line is '$exec_line'"
read -r -a command <<<"${exec_line//%f/$home/music/demo.wav}"
cd "$home"
# A sanitizer build reports through these; the suppressions, copied where the user can read them,
# cover only libraries not built with it.
cp "$support_dir"/{lsan,tsan}_suppressions.txt "$work"
env -i PATH="$root/bin:/usr/bin:/bin" HOME="$home" DISPLAY="$display" LANG=C.UTF-8 \
  LSAN_OPTIONS="${LSAN_OPTIONS//$support_dir/$work}" TSAN_OPTIONS="${TSAN_OPTIONS//$support_dir/$work}" \
  "${as_user[@]}" "${command[@]}" 2>"$work/morvex.err" &
program=$!
pids+=("$program")

# Playing: the file is read on, past what the first buffers took, while it runs.
position() {
  local fd
  for fd in /proc/"$program"/fd/*; do
    if [ "$(readlink "$fd" 2>/dev/null)" = "$home/music/demo.wav" ]; then
      sed -n 's/^pos:\s*//p' /proc/"$program"/fdinfo/"${fd##*/}"
      return
    fi
  done
  echo 0
}
# The process started by setpriv is the program itself (setpriv executes it in place).
first=0
for _ in $(seq 100); do
  first=$(position)
  [ "$first" -gt 0 ] && break
  kill -0 "$program" 2>/dev/null || fail "the program ended at start"
  sleep 0.1
done
[ "$first" -gt 0 ] || fail "the program did not open the file"
sleep 5
later=$(position)
[ "$later" -gt "$first" ] || fail "the file is not being played (read position $first, then $later)"
echo "playing: read position $first, 5 s later $later"
for title in '^morvex$' '^fft window' '^sg window$'; do
  DISPLAY="$display" xdotool search --onlyvisible --name "$title" >/dev/null || fail "no window titled $title"
done
echo "windows shown: $(DISPLAY="$display" xdotool search --onlyvisible --class morvex getwindowname %@ | sort | tr '\n' ',')"
DISPLAY="$display" "$screenshot" "$build/install-test-screen.png" >/dev/null 2>&1 && echo "screenshot: $build/install-test-screen.png"

kill -TERM "$program"
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program" 2>/dev/null && fail "the program did not end on SIGTERM"
code=0
wait "$program" || code=$?
[ "$code" -eq 0 ] || fail "the program ended with $code"

settings="$home/.config/morvex/morvex.ini"
[ -f "$settings" ] || fail "no settings in $settings; found: $(find "$work" -name 'morvex.ini*')"
[ -z "$(find "$root" "$home" -name 'morvex.ini*' ! -path "$settings")" ] || fail "settings written elsewhere too"
head -c 11 "$settings" | od -c | grep -q '\[   g   e   n   e   r   a   l   ]  \\r  \\n' ||
  fail "the settings file does not start with [general] and CR LF"
grep -q '^wavwindowsleeptime=20$' "$settings" || fail "the settings file does not end with its last key"
[ "$(stat -c %a "$home/.config/morvex")" = 700 ] || fail "the settings folder is open to others"
[ "$(stat -c %U "$settings")" = "$user" ] || fail "the settings file belongs to $(stat -c %U "$settings")"
echo "settings: ~/.config/morvex/morvex.ini, $(wc -l <"$settings") lines, owner $(stat -c %U "$settings")"
