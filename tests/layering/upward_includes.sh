#!/bin/bash
# Lists every include of a folder above the including file's own folder, in the layer order below
# (lowest first), and fails when there is one. Folders outside the order are not checked.
# The one include kept: a play or recording start puts the FFT and spectrogram thread priorities
# back to normal together with their check marks, which are the main window's.
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"
layers=(resources platform shared analysis audio spectrogram views app render)
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done
kept='^audio/(live_input|playback_transport)\.cpp:[0-9]+ includes app/thread_priorities\.h$'
found=0
for folder in "${layers[@]}"; do
  own=${rank[$folder]}
  [[ -d $folder ]] || continue
  while IFS=: read -r file line target; do
    included=${rank[${target%%/*}]:--1}
    report="$file:$line includes $target"
    if (( included > own )) && ! [[ $report =~ $kept ]]; then
      echo "$report"
      found=1
    fi
  done < <(grep -rnoE --include='*.h' --include='*.cpp' '^#include "[a-z_]+/[^"]+"' "$folder" \
             | sed -E 's/#include "([^"]+)"/\1/')
done
exit $found
