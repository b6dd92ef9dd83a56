#!/usr/bin/env bash
# Installs what is missing, builds morvex and its tests, and runs every test.
#   scripts/test.sh            the normal build (build/test)
#   scripts/test.sh address    AddressSanitizer and UndefinedBehaviorSanitizer (build/asan)
#   scripts/test.sh thread     ThreadSanitizer (build/tsan)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

sanitize="${1:-}"
case "$sanitize" in
  "") dir=build/test ;;
  address) dir=build/asan ;;
  thread) dir=build/tsan ;;
  *) echo "usage: scripts/test.sh [address|thread]" >&2; exit 2 ;;
esac

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEX_SANITIZE="$sanitize" >/dev/null
cmake --build "$dir" -j2
# Tests never need a display: they use the in-memory one, and Qt runs offscreen.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen \
  ctest --test-dir "$dir" --output-on-failure -j2 --timeout 300
