#!/usr/bin/env bash
# Builds both Windows executables (scripts/build-windows.sh) and runs the 32-bit one under Wine
# in a virtual display: it plays a WAV file into a file standing in for the sound device, and
# the test checks its windows, the sound the device received and the settings file it writes
# (tests/smoke/wine_smoke.sh). Installs Wine and what it needs when missing.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build-windows.sh
bash scripts/install-deps.sh wine
bash tests/smoke/wine_smoke.sh build/windows-i686/morvex.exe
