#!/usr/bin/env bash
# The real-window smoke on a desktop whose sound goes through a sound server: the whole walk
# (pause, the jumps, stop and play, every speed and pitch mode, the menus) plays through the
# private server of sound_server.sh, and live input then records what the server plays
# (live_input_walk.sh).
#   real_window_sound_server.sh MORVEX MAKE_DEMO_WAV SCREENSHOT SCREENSHOT_CHECK
set -euo pipefail
here=$(dirname "$(realpath "$0")")
# shellcheck source=sound_server.sh
source "$here/sound_server.sh"
server=$(mktemp -d)
trap 'stop_sound_server; rm -rf "$server"' EXIT
start_sound_server "$server"
export SOUND_SERVER_PID
bash "$here/real_window_smoke.sh" "$@" "$here/live_input_walk.sh"
