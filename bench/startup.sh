#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time and peak memory of the program against a plain Qt window with its main window's
# controls: builds them for release and starts them in turn under a private X server.
# Usage: bench/startup.sh [rounds]   (15 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-15}

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench -j "$(nproc)" \
    --target startup_torvel startup_bare startup_bare_short startup_bare_two startup_runner >/dev/null

# The X server picks a free display number and writes it to the pipe.
exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
read -r -t 10 -u "$display_fd" display
exec {display_fd}<&-

# The program; the plain window with the main window's texts in Qt's default font; the same with
# short Latin texts; the plain window with a plain second window where the viewer opens.
cd build-bench/bench
DISPLAY=":$display" QT_QPA_PLATFORM=xcb ./startup_runner --rounds "$rounds" \
    ./startup_torvel ./startup_bare ./startup_bare_short ./startup_bare_two
