#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes a picture of the main window after the worked example, from the real program under a
# private X server, typed in and started as a person would:
#   scripts/screenshot.sh [picture] [-- command to start the program...]
# The picture is docs/screenshot.png by default (the README and the AppStream metadata show it);
# the program is this tree's, built for release, unless a command is given (for example one that
# starts an installed copy: -- /usr/bin/torvel).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --screenshot

picture=${1:-docs/screenshot.png}
[ $# -gt 0 ] && shift
if [ "${1:-}" = "--" ]; then
    shift
    command=("$@")
else
    cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
    cmake --build build-release -j "$(nproc)" --target torvel >/dev/null
    command=(build-release/bin/torvel)
fi

. scripts/private-x.sh
program=
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null || true
    kill "$x_server" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap cleanup EXIT
start_private_x

# On the X server whatever the caller's platform (the test script's is offscreen).
QT_QPA_PLATFORM=xcb "${command[@]}" >/dev/null 2>&1 &
program=$!
window=$(wait_for_window '^RASCHET$')
xdotool windowraise "$window" windowfocus --sync "$window"
sleep 0.5

# The worked example: satellite 1 at 13 degrees, satellite 2 at 19 degrees 12 minutes, a focal
# length of 450 mm; the site is the window's default. Each box is clicked by its middle, in
# pixels from the window's corner, then START.
type_into() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    xdotool key --window "$window" ctrl+a BackSpace
    xdotool type --window "$window" --delay 20 "$3"
}
type_into 204 209 13    # Text5
type_into 204 257 19    # Text9
type_into 328 257 12    # Text10
type_into 328 161 450   # Text13
xdotool mousemove --window "$window" 76 20 click 1    # START
sleep 1
mkdir -p "$(dirname "$picture")"
# Only the window's own pixels, without the time stamps a PNG writer may add.
import -window "$window" -define png:exclude-chunks=date,time "$picture"
echo "$picture"
