#!/usr/bin/env bash
# Runs every input of each harness's corpus once through a build with clang's source coverage
# and prints, per harness, the share of lines and branches reached in the code it feeds.
#   scripts/fuzz_coverage.sh [SETTINGS_CORPUS WAV_CORPUS OPENING_CORPUS]
set -euo pipefail
cd "$(dirname "$0")/.."
corpus_settings=${1:-build/fuzz/corpus/settings}
corpus_wav=${2:-build/fuzz/corpus/wav}
corpus_opening=${3:-build/fuzz/corpus/opening}
mkdir -p "$corpus_settings" "$corpus_wav" "$corpus_opening"

dir=build/fuzz-coverage
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMORVEX_BUILD_FUZZ=ON -DMORVEX_BUILD_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping" \
  -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" >/dev/null
cmake --build "$dir" -j2 --target settings_fuzz wav_fuzz opening_fuzz

report() {
  local harness=$1 corpus=$2
  shift 2
  local raw="$dir/$harness.profraw"
  LLVM_PROFILE_FILE="$raw" "$dir/fuzz/${harness}_fuzz" -runs=0 "$corpus" "fuzz/corpus/$harness" >/dev/null 2>&1
  llvm-profdata merge -o "$dir/$harness.profdata" "$raw"
  echo "$harness: $(find "$corpus" "fuzz/corpus/$harness" -type f | wc -l) inputs"
  llvm-cov report "$dir/fuzz/${harness}_fuzz" -instr-profile="$dir/$harness.profdata" "$@" |
    awk '/^TOTAL/ || /\.cpp/ { printf "  %-34s lines %8s  branches %8s\n", $1, $10, $13 }'
}
report settings "$corpus_settings" app/settings_file.cpp app/settings_keys.cpp app/settings_text.cpp
report wav "$corpus_wav" audio/wav_reader.cpp audio/source_file.cpp shared/sample_store.cpp audio/playback.cpp \
  audio/playback_transforms.cpp audio/playback_transport.cpp audio/playback_state.cpp shared/playback_rate.cpp audio/playback_fft_size.cpp audio/playback_device.cpp \
  analysis/spectrum_block.cpp analysis/spectrum_cycle.cpp analysis/spectrum_filters.cpp
report opening "$corpus_opening" audio/wav_reader.cpp audio/sound_decoding.cpp
