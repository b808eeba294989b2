# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that show the program: start_private_x starts a private X server on the
# first free display, kept running between clients (-noreset), exports DISPLAY and returns once
# the server answers; x_server holds its process id.
start_private_x() {
    local display=99
    while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
        display=$((display + 1))
    done
    export DISPLAY=:$display
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -noreset -nolisten tcp >/dev/null 2>&1 &
    x_server=$!
    for _ in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
}
