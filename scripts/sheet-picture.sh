#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the installation sheet of the worked example (or of Johannesburg, found by name with its
# satellites 20E and 36E) from a real run of the program under a private X server: the inputs typed,
# START, Ctrl+S and the save dialog accepted with the name it offers, then the page rendered to a
# picture:
#   scripts/sheet-picture.sh [picture] [johannesburg] [-- command to start the program...]
# The picture is docs/sheet.png by default (the README shows it); a name ending in .pdf keeps the
# page itself instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --screenshot

picture=${1:-docs/sheet.png}
[ $# -gt 0 ] && shift
site=worked
if [ "${1:-}" = "johannesburg" ]; then
    site=johannesburg
    shift
fi
if [ "${1:-}" = "--" ]; then
    shift
    command=("$@")
else
    cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
    cmake --build build-release -j "$(nproc)" --target torvel >/dev/null
    command=(build-release/bin/torvel)
fi

# A home of its own, so that the sheet lands in a documents folder nobody else uses.
home=$(mktemp -d "${TMPDIR:-/tmp}/torvel-sheet.XXXXXX")
mkdir -p "$home/Documents"
. scripts/private-x.sh
program=
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null || true
    kill "$x_server" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT
start_private_x

# On the X server whatever the caller's platform (the test script's is offscreen).
HOME=$home XDG_DOCUMENTS_DIR=$home/Documents QT_QPA_PLATFORM=xcb "${command[@]}" >/dev/null 2>&1 &
program=$!
window=$(wait_for_window '^RASCHET$') ||
    { echo "The program's window did not open on the private X server" >&2; exit 1; }
xdotool windowraise "$window" windowfocus --sync "$window"
sleep 0.5

# Each box is clicked by its middle, in pixels from the window's corner (as screenshot.sh).
type_into() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    xdotool key --window "$window" ctrl+a BackSpace
    [ -z "$3" ] || xdotool type --window "$window" --delay 20 -- "$3"
}
# A search is opened by its button and the first row it finds is taken (Return): the keys go to
# the search line, which has the focus.
choose() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.3
    xdotool type --delay 20 -- "$3"
    xdotool key Return
    sleep 0.3
}
if [ "$site" = johannesburg ]; then
    # Found by name as an installer finds them: the town, then both satellites by position.
    choose 402 97 johannes; choose 402 209 20E; choose 402 257 36E
    type_into 328 161 600
else
    type_into 204 209 13; type_into 204 257 19; type_into 328 257 12; type_into 328 161 450
fi
xdotool mousemove --window "$window" 76 20 click 1    # START
sleep 1
xdotool key --window "$window" ctrl+s
# The save dialog offers the documents folder and the sheet's name: Return takes them.
dialog=$(wait_for_window 'Сохранить лист установки') ||
    { echo "Ctrl+S opened no save dialog" >&2; exit 1; }
xdotool windowfocus --sync "$dialog" key Return
for _ in $(seq 100); do
    pdf=$(find "$home/Documents" -name 'RASCHET *.pdf' -print -quit)
    [ -n "$pdf" ] && break
    sleep 0.1
done
[ -n "$pdf" ] || { echo "No sheet was written" >&2; exit 1; }
mkdir -p "$(dirname "$picture")"
if [ "${picture%.pdf}" != "$picture" ]; then
    cp "$pdf" "$picture"
else
    pdftoppm -r 80 -png -singlefile "$pdf" "${picture%.png}"
fi
echo "$picture (from $(basename "$pdf"))"
