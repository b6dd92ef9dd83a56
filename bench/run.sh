#!/usr/bin/env bash
# Builds the benchmarks in a Release tree and runs them; extra arguments go to the
# benchmark program (for example --benchmark_filter=2048). Prints the median of three
# runs of each benchmark, then each FFT routine's time per call as a multiple of FFTW's
# real-to-complex transform of the same size. The ratios use CPU time, which stays
# meaningful while other work shares the machine.
set -euo pipefail

build_dir="$(bash "$(dirname "$0")/build.sh" morvex_bench)"

echo "cpu: $(lscpu | sed -n 's/^Model name:[[:space:]]*//p')"
output="$("$build_dir/bench/morvex_bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true "$@")"
echo "$output" | grep -v -E '_(mean|stddev|cv) '

echo
echo "CPU time per call relative to FFTW r2c (median of 3):"
echo "$output" | awk '
  function ns(value, unit) { return unit == "ms" ? value * 1e6 : unit == "us" ? value * 1e3 : value }
  $1 ~ /^BM_Fft.*_median$/ {
    split($1, part, "/"); name = part[1]; size = part[2]
    sub(/^BM_/, "", name); sub(/_median$/, "", size)
    cpu[name, size] = ns($4, $5)
    if (!(name in seen)) { seen[name] = 1; names[++count] = name }
    if (!(size in known)) { known[size] = 1; sizes[++sizeCount] = size }
  }
  END {
    for (s = 1; s <= sizeCount; ++s) {
      size = sizes[s]; base = cpu["FftwR2c", size]
      if (base == "") continue
      line = sprintf("%6d  FFTW %9.0f ns", size, base)
      for (i = 1; i <= count; ++i) {
        if (names[i] != "FftwR2c" && cpu[names[i], size] != "")
          line = line sprintf("  %s %.0f ns %.2fx", names[i], cpu[names[i], size], cpu[names[i], size] / base)
      }
      print line
    }
  }'
