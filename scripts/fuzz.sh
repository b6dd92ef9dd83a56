#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang in build/fuzz and runs each on its seed corpus.
#   scripts/fuzz.sh                     every harness for 30 s
#   scripts/fuzz.sh 600 wav             the named harnesses (settings, wav, opening) for 600 s each
#   FUZZ_OPTIONS=-runs=10000000 scripts/fuzz.sh 0 settings    a fixed number of runs instead
#   scripts/fuzz.sh coverage [DIR...]    the source lines each harness's corpus reaches (the
#                                        corpora in build/fuzz/corpus, or DIR per harness)
# Inputs that find new paths go to build/fuzz/corpus/<harness>; the seeds in fuzz/corpus stay as
# they are. A crash, hang (a run over 10 s), leak, sanitizer report or failed check is written
# to build/fuzz/findings/ and fails the script. The fuzzer runs at the lowest priority.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/install-deps.sh fuzz

if [ "${1:-}" = coverage ]; then
  shift
  exec bash scripts/fuzz_coverage.sh "$@"
fi

seconds=30
if [[ "${1:-}" =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then harnesses=(settings wav opening); fi

dir=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMORVEX_BUILD_FUZZ=ON -DMORVEX_BUILD_TESTS=OFF >/dev/null
targets=()
for h in "${harnesses[@]}"; do targets+=("${h}_fuzz"); done
cmake --build "$dir" -j2 --target "${targets[@]}"

mkdir -p "$dir/findings"
# A run frees all it allocated, so 16 MB of freed memory held back still catches a use after
# free within a run; the default 256 MB makes every run touch fresh pages and costs a fifth of
# the speed.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=16}"
for h in "${harnesses[@]}"; do
  corpus="$dir/corpus/$h"
  mkdir -p "$corpus"
  options=(-timeout=10 -print_final_stats=1 "-artifact_prefix=$dir/findings/$h-")
  if [ "$seconds" -gt 0 ]; then options+=("-max_total_time=$seconds"); fi
  if [ -f "fuzz/$h.dict" ]; then options+=("-dict=fuzz/$h.dict"); fi
  # The MP3 decoder writes about fifteen notes a run on stderr, a quarter of the opening's time
  # and gigabytes of log; libFuzzer keeps its own copy of stderr for itself and the sanitizers.
  if [ "$h" = opening ]; then options+=(-close_fd_mask=2); fi
  log="$dir/$h.log"
  echo "fuzzing $h (log: $log)"
  # shellcheck disable=SC2086
  if ! nice -n 19 "$dir/fuzz/${h}_fuzz" "${options[@]}" ${FUZZ_OPTIONS:-} "$corpus" "fuzz/corpus/$h" >"$log" 2>&1; then
    grep -v -e 'NEW\|REDUCE\|pulse' "$log" | tail -80 >&2
    echo "fuzzing $h found a fault; the input is in $dir/findings/" >&2
    exit 1
  fi
  grep -E 'DONE|^stat::' "$log"
done
