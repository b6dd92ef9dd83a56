#!/usr/bin/env bash
# The program without a display, playing through a sound server with a clock of its own (see
# sound_server.sh), as on a Linux desktop:
# - a 10 s stereo file plays to its end: the server hears the file's sample data whole, in
#   order and without a gap, the stream lives as long as the sound (so the pace is the server's
#   real time and the device is closed at the end), and the program then waits idle;
# - the program stopped for 2 s (SIGSTOP, SIGCONT) while it plays, so that its stream runs dry:
#   one line on stderr, the sound goes on where it stopped, nothing lost or repeated, and ends;
# - the server killed while a file plays, then started again: one line on stderr, the sound
#   goes on silently in real time, nothing spins.
# Each time SIGTERM ends the program with 0 and the settings file is written.
#   sound_server_test.sh MORVEX MONITOR_CHECK
set -euo pipefail
morvex=$(realpath "$1") check=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
# shellcheck source=alsa_file_device.sh
source "$here/alsa_file_device.sh"
# shellcheck source=sound_server.sh
source "$here/sound_server.sh"
work=$(mktemp -d)
program=""
RECORDER_PID=""
cleanup() {
  [ -n "$program" ] && kill -9 "$program" 2>/dev/null
  [ -n "$RECORDER_PID" ] && kill "$RECORDER_PID" 2>/dev/null
  stop_sound_server
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "sound server test: $*" >&2
  [ -s "$work/morvex.err" ] && cat "$work/morvex.err" >&2
  grep -h -e 'Created input' -e 'Implicit underrun' -e 'Freeing input' "$work"/server/server.log* >&2
  exit 1
}
cp "$morvex" "$work/morvex"
cd "$work"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
start_sound_server server || fail "no sound server"
make_noise_wav noise10.wav noise10.raw 10
make_noise_wav noise6.wav noise6.raw 6

start_program() {
  rm -f morvex.ini morvex.err
  ./morvex "$1" 2>morvex.err &
  program=$!
}
stop_recording() {
  kill "$RECORDER_PID"
  wait "$RECORDER_PID" 2>/dev/null || true
  RECORDER_PID=""
}
# Processor time the program takes in 2 s, in hundredths of a second.
busy() {
  local before
  before=$(awk '{print $14 + $15}' "/proc/$program/stat")
  sleep 2
  echo $(($(awk '{print $14 + $15}' "/proc/$program/stat") - before))
}
end_program() {
  local status=0 ticks
  ticks=$(busy)
  [ "$ticks" -le 40 ] || fail "the program took $ticks/200 of a processor in 2 s: $1"
  kill -TERM "$program"
  wait "$program" || status=$?
  program=""
  [ "$status" -eq 0 ] || fail "the program ended with $status: $1"
  [ -s morvex.ini ] || fail "no settings written: $1"
}

# To its end: the device closes no sooner than the sound's length, and within 300 ms of the
# moment the server played the last of it.
record_monitor end.raw || fail "the monitor cannot be recorded"
start_program noise10.wav
opened=$(wait_for_stream 10) || fail "the sound never reached the server"
closed=$(wait_for_silence 20) || fail "the device was still open 20 s after the start of a 10 s file"
stop_recording
lag=$(ran_dry_to_closed_ms) || fail "the server did not see the stream end"
echo "10 s file: its stream played for $((closed - opened)) ms, closed $lag ms after its sound ended"
[ $((closed - opened)) -ge 10000 ] || fail "the device closed before the sound had been played"
[ "$lag" -le 300 ] || fail "the device closed $lag ms after the server played the end of its sound"
runs=$("$check" end.raw noise10.raw) || fail "the server did not hear the file whole and in order"
# A machine too busy to let the program keep its stream fed makes a gap, which the program says.
[ "$runs" = "runs 1" ] || grep -q "sound ran dry" morvex.err || fail "the sound had gaps ($runs) nobody said"
end_program "after the end of the file"

# Stopped for 2 s while it plays.
record_monitor stop.raw || fail "the monitor cannot be recorded"
start_program noise6.wav
opened=$(wait_for_stream 10) || fail "the sound never reached the server"
sleep 2
kill -STOP "$program"
sleep 2
kill -CONT "$program"
closed=$(wait_for_silence 20) || fail "the device was still open 20 s after the start of a 6 s file"
stop_recording
echo "6 s file stopped for 2 s: its streams played for $((closed - opened)) ms"
lag=$(ran_dry_to_closed_ms) || fail "the server did not see the stream end"
[ "$lag" -le 300 ] || fail "after a stop the device closed $lag ms after the server played the end of its sound"
runs=$("$check" stop.raw noise6.raw) || fail "after the stop the server did not hear the rest of the file in order"
[ "$(wc -l <morvex.err)" -eq 1 ] && grep -q "sound ran dry" morvex.err || fail "the stop was not said in one line"
end_program "after a stop"

# The server killed while a file plays, then started again.
start_program noise10.wav
wait_for_stream 10 >/dev/null || fail "the sound never reached the server"
sleep 1
stop_sound_server
sleep 1
[ "$(grep -c "sound output device lost" morvex.err)" -eq 1 ] || fail "the lost server was not said in one line"
start_sound_server server || fail "no sound server the second time"
kill -0 "$program" 2>/dev/null || fail "the program ended when the server went"
end_program "after the server went"
