#!/usr/bin/env bash
# Measures the share of one core a command uses: starts it, lets it settle for two seconds,
# reads its CPU time (user + system, all threads) over the given seconds, then ends it with
# SIGTERM. Prints the whole-process share and each thread's share over the same seconds.
#   scripts/measure_cpu.sh SECONDS COMMAND [ARGS...]
# For example, the program playing the demo sound without a display:
#   build/tools/make_demo_wav /tmp/demo.wav 30
#   env -u DISPLAY scripts/measure_cpu.sh 10 build/morvex /tmp/demo.wav
set -euo pipefail
seconds=$1
shift
"$@" 2>/dev/null &
pid=$!
sleep 2
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
# One line per thread: its id, name and ticks so far. The name is in parentheses and may hold
# spaces, so the ticks are counted from the end of the line.
thread_ticks() {
  for task in /proc/$pid/task/*; do
    awk -v id="$(basename "$task")" -v name="$(cat "$task/comm")" '{print id, name, $(NF - 38) + $(NF - 37)}' "$task/stat"
  done 2>/dev/null
}
before=$(ticks)
threads_before=$(thread_ticks)
sleep "$seconds"
after=$(ticks)
threads_after=$(thread_ticks)
hz=$(getconf CLK_TCK)
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" \
  'BEGIN { printf "cpu: %.0f ms in %d s = %.1f%% of one core\n", 1000 * t / hz, s, 100 * t / hz / s }'
awk -v hz="$hz" -v s="$seconds" 'NR == FNR { start[$1] = $NF; next }
  { printf "  thread %s (%s): %d ticks = %.1f%%\n", $2, $1, $NF - start[$1], 100 * ($NF - start[$1]) / hz / s }' \
  <(echo "$threads_before") <(echo "$threads_after")
kill -TERM "$pid"
wait "$pid" || true
