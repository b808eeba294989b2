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

# Prints the id of the first window whose name matches the regular expression, waiting up to the
# seconds given (30 by default); exit 1 when none came. A window that vanishes while xdotool looks
# through them (an X error) only means another look.
wait_for_window() {
    local name=$1 seconds=${2:-30} found i
    for ((i = 0; i < seconds * 10; i++)); do
        found=$(xdotool search --name "$name" 2>/dev/null | head -1) || true
        if [ -n "$found" ]; then
            echo "$found"
            return 0
        fi
        sleep 0.1
    done
    return 1
}
