#!/usr/bin/env bash
# The program end to end under ThreadSanitizer, without building every test under it: only
# the program and the drive test are built in build/tsan. The drive test runs the program
# without a display, then the real-window smoke runs it in a virtual X display; the smoke's
# helpers (demo sound, screenshot and its check) come from the normal build in build/test.
# A ThreadSanitizer report fails either run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test -j2 --target make_demo_wav screenshot screenshot_check
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEX_SANITIZE=thread >/dev/null
cmake --build build/tsan -j2 --target morvex morvex_drive_tests

echo "drive test under ThreadSanitizer"
env -u DISPLAY -u WAYLAND_DISPLAY build/tsan/tests/morvex_drive_tests
echo "real-window smoke under ThreadSanitizer"
bash tests/smoke/real_window_smoke.sh build/tsan/morvex build/test/tools/make_demo_wav build/test/tools/screenshot \
  build/test/tests/screenshot_check
