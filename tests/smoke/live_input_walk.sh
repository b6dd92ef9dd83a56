# shellcheck shell=bash
# Sourced by real_window_smoke.sh after its walk when the program plays through the private sound
# server of sound_server.sh: live input records what the sink plays, from its monitor. The file
# is stopped, a 500 Hz sine is played into the sink and live input started: the FFT window's
# peak shows it; a 4 kHz sine then moves the peak right. The server is then killed while the
# program records: one line on stderr says so, and the windows keep answering their menus.

sine() { pactl load-module module-sine sink=morvex_null frequency="$1"; }
peak() {
  "$screenshot" "$1.png" || fail "no screenshot"
  # shellcheck disable=SC2046
  "$check" --peak "$1.png" $(client_area "$fft")
}
key s 1
sine_module=$(sine 500) || fail "no sine into the sink"
# "wav入力start", 6th item of the main popup.
menu "$main" 3 Down Down Down Down Down Down Return
sleep 2
low=$(peak low)
pactl unload-module "$sine_module"
sine_module=$(sine 4000) || fail "no sine into the sink"
sleep 2
high=$(peak high)
echo "live input: the FFT peak at column $low for 500 Hz, $high for 4 kHz"
[ "$low" -ge 0 ] && [ "$high" -gt $((low + 40)) ] || fail "the FFT window does not follow the recorded tone"

kill -9 "$SOUND_SERVER_PID"
sleep 1
[ "$(grep -c 'sound input device failed' morvex.err)" -eq 1 ] || fail "the lost recording was not said in one line"
# "wav入力stop", 7th item: the menu still opens and is answered.
menu "$main" 3 Down Down Down Down Down Down Down Return
