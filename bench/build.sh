#!/usr/bin/env bash
# Builds the named benchmark targets in the Release tree (build/bench, or MORVEX_BENCH_DIR),
# installing what is missing first, and prints the tree's path.
#   bench/build.sh TARGET...
set -euo pipefail

source_dir="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${MORVEX_BENCH_DIR:-$source_dir/build/bench}"

bash "$source_dir/scripts/install-deps.sh" >&2
cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVEX_BUILD_BENCH=ON \
  -DMORVEX_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j2 --target "$@" >&2
echo "$build_dir"
