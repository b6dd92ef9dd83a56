# shellcheck shell=bash
# Sourced by the checks that listen to the program through a file: ALSA's default playback
# device routed into a file by a private .asoundrc, a WAV file of noise to play, and the check
# that the device received the file's sample data whole and in order.
#
# The `null` device under the file plugin has no clock: it takes every write at once, so the
# program plays faster than real time and the device's position runs ahead of the wall clock.
# What reaches the file is still exactly what the program wrote, in the order it wrote it.

# make_noise_wav WAV RAW SECONDS: 16-bit stereo 44100 Hz noise, its sample data also in RAW. The
# first sample is non-zero so that the device's output shows where the data begin.
make_noise_wav() {
  local wav=$1 raw=$2 data_bytes=$((44100 * 4 * $3))
  { printf '\177\177\177\177'; head -c $((data_bytes - 4)) /dev/urandom; } >"$raw"
  le() { for ((i = 0; i < $2; i++)); do printf "\\$(printf %03o $((($1 >> (8 * i)) & 255)))"; done; }
  {
    printf RIFF; le $((36 + data_bytes)) 4; printf 'WAVEfmt '; le 16 4
    le 1 2; le 2 2; le 44100 4; le $((44100 * 4)) 4; le 4 2; le 16 2
    printf data; le "$data_bytes" 4; cat "$raw"
  } >"$wav"
}

# route_alsa_default HOME DEVICE_FILE: ALSA's default device, for programs run with this HOME,
# writes what it plays into DEVICE_FILE.
route_alsa_default() {
  mkdir -p "$1"
  cat >"$1/.asoundrc" <<ASOUNDRC
pcm.!default {
  type file
  slave.pcm "null"
  file "$2"
  format "raw"
}
ASOUNDRC
}

# wait_for_device DEVICE_FILE BYTES: until the device has received BYTES (at most 60 s).
wait_for_device() {
  for _ in $(seq 600); do
    [ "$(stat -c %s "$1" 2>/dev/null || echo 0)" -ge "$2" ] && return 0
    sleep 0.1
  done
  return 1
}

# check_device_output DEVICE_FILE RAW: the device received silence, then RAW whole and in order
# (no gap, no repeat), then only silence. Says what is wrong on stderr and fails otherwise.
check_device_output() {
  local device=$1 raw=$2 first after
  local data_bytes
  data_bytes=$(stat -c %s "$raw")
  [ -s "$device" ] || { echo "the device received nothing" >&2; return 1; }
  first=$( (LC_ALL=C cmp "$device" /dev/zero 2>/dev/null || true) | sed -n 's/.*differ: \(byte\|char\) \([0-9]*\),.*/\2/p')
  [ -n "$first" ] || { echo "the device received only silence" >&2; return 1; }
  cmp -s -n "$data_bytes" <(tail -c +"$first" "$device") "$raw" ||
    { echo "the device did not receive the file's sample data in order" >&2; return 1; }
  after=$(tail -c +$((first + data_bytes)) "$device" | tr -d '\0' | wc -c)
  [ "$after" -eq 0 ] || { echo "the device received $after non-silent bytes after the file's data" >&2; return 1; }
}
