# shellcheck shell=bash
# Sourced by the checks that play through a sound server with a clock of its own: a private
# PulseAudio (its own socket, runtime folder and configuration, no other module) with one null
# sink at 44100 Hz that never rewinds what it has played (so that its monitor hears exactly
# what was played), and ALSA's default devices routed to it by a private .asoundrc. Nothing
# outside the given folder is read or changed; stop_sound_server ends it.

# start_sound_server DIR: starts the server; exports HOME (for ALSA's .asoundrc) and
# PULSE_SERVER so that programs started afterwards play through it. Its log, with times,
# is DIR/server.log.
start_sound_server() {
  local dir
  dir=$(realpath "$1")
  mkdir -p "$dir/home/.config/pulse" "$dir/run"
  chmod 700 "$dir/run"
  cat >"$dir/home/.config/pulse/daemon.conf" <<CONF
default-sample-rate = 44100
alternate-sample-rate = 44100
exit-idle-time = -1
flat-volumes = no
CONF
  cat >"$dir/server.pa" <<PA
load-module module-null-sink sink_name=morvex_null rate=44100 channels=2 norewinds=1
load-module module-native-protocol-unix socket=$dir/native auth-anonymous=1
set-default-sink morvex_null
set-default-source morvex_null.monitor
PA
  cat >"$dir/home/.asoundrc" <<ASOUNDRC
pcm.!default { type pulse }
ctl.!default { type pulse }
ASOUNDRC
  export HOME="$dir/home" XDG_CONFIG_HOME="$dir/home/.config" XDG_RUNTIME_DIR="$dir/run"
  export PULSE_SERVER="unix:$dir/native"
  SOUND_SERVER_DIR=$dir
  pulseaudio -n -F "$dir/server.pa" --daemonize=no --use-pid-file=false --system=false \
    --log-target=file:"$dir/server.log" --log-level=debug --log-time=1 >/dev/null 2>&1 &
  SOUND_SERVER_PID=$!
  for _ in $(seq 100); do pactl info >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "the sound server did not start:" >&2
  cat "$dir/server.log" >&2
  return 1
}

stop_sound_server() {
  [ -n "${SOUND_SERVER_PID:-}" ] || return 0
  kill -9 "$SOUND_SERVER_PID" 2>/dev/null || true
  wait "$SOUND_SERVER_PID" 2>/dev/null || true
  SOUND_SERVER_PID=
}

# The number of streams playing into the server.
playing_streams() { pactl list short sink-inputs 2>/dev/null | wc -l; }

# Milliseconds since the epoch.
now_ms() { date +%s%3N; }

# wait_for_stream SECONDS: until a stream plays into the server; prints when it appeared (ms).
wait_for_stream() {
  local deadline=$(($(now_ms) + $1 * 1000))
  while [ "$(playing_streams)" -eq 0 ]; do
    [ "$(now_ms)" -gt "$deadline" ] && return 1
    sleep 0.01
  done
  now_ms
}

# wait_for_silence SECONDS: until no stream has played into the server for 0.3 s (a stream that
# recovers from an underrun is replaced by a new one); prints when the last one went (ms).
wait_for_silence() {
  local deadline=$(($(now_ms) + $1 * 1000)) gone=""
  while [ "$(now_ms)" -lt "$deadline" ]; do
    if [ "$(playing_streams)" -eq 0 ]; then
      [ -n "$gone" ] || gone=$(now_ms)
      [ $(($(now_ms) - gone)) -gt 300 ] && echo "$gone" && return 0
    else
      gone=""
    fi
    sleep 0.01
  done
  return 1
}

# record_monitor FILE: records what the sink plays, as the file's raw 16-bit stereo frames, in the
# background, from the moment it returns; RECORDER_PID is the recorder.
record_monitor() {
  parec --raw --format=s16le --channels=2 --rate=44100 --device=morvex_null.monitor >"$1" &
  RECORDER_PID=$!
  for _ in $(seq 100); do pactl list short source-outputs | grep -q . && return 0; sleep 0.05; done
  return 1
}

# Milliseconds from the moment the server found the last stream run dry (the end of its sound)
# to the moment that stream was closed, by the server's own log; 0 when it was closed before
# the server found it dry.
ran_dry_to_closed_ms() {
  awk -F'[(|]' '/Created input/ { dry = "" } /Implicit underrun/ { dry = $2 } /Freeing input/ { closed = $2 }
    END { if (closed == "") exit 1; printf "%d\n", dry == "" ? 0 : (closed - dry) * 1000 }' "$SOUND_SERVER_DIR/server.log"
}
