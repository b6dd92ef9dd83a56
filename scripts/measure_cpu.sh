#!/usr/bin/env bash
# Measures the share of one core a command uses: starts it, lets it settle for two seconds,
# reads its CPU time (user + system, all threads) over the given seconds, then ends it with
# SIGTERM. Prints the whole-process share and each thread's ticks.
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
before=$(ticks)
sleep "$seconds"
after=$(ticks)
hz=$(getconf CLK_TCK)
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" \
  'BEGIN { printf "cpu: %.0f ms in %d s = %.1f%% of one core\n", 1000 * t / hz, s, 100 * t / hz / s }'
for task in /proc/$pid/task/*; do
  echo "  thread $(cat "$task/comm") ($(basename "$task")): $(awk '{print $14 + $15}' "$task/stat") ticks since start"
done
kill -TERM "$pid"
wait "$pid" || true
