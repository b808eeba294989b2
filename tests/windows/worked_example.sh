#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program as a user meets it: the unzipped folder copied into a folder named in
# Cyrillic and Chinese, torvel.exe started under Wine on a private X server, each of the README's
# check-value sites typed into the main window and START pressed, as a person would. Every result
# box must show the README's text exactly (read back through the clipboard) and rlin1.txt beside
# the program must hold the README's line. Then Johannesburg and its satellites are found by name
# and the installation sheet saved: with TORVEL_LINUX_SHEET naming the Linux program's page for
# the same choices (scripts/sheet-picture.sh page.pdf johannesburg), the two pages' texts must
# agree. TORVEL_WINDOWS_SCREENSHOT, TORVEL_WINDOWS_SEARCH_SCREENSHOT and TORVEL_WINDOWS_SHEET name
# pictures to keep: the window, the town search open, the page.
#   tests/windows/worked_example.sh <unzipped folder>
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
folder=$(cd "$1" && pwd)
wine=/usr/lib/wine/wine64

work=$(mktemp -d)
program="$work/Программа 程序"
cp -r "$folder" "$program"
# A Wine prefix for a program on a display: TORVEL_WINE_DESKTOP, kept between runs, or a new one.
export WINEPREFIX=${TORVEL_WINE_DESKTOP:-$work/wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

. "$here/scripts/private-x.sh"
started= x_server=
cleanup() {
    [ -n "$started" ] && kill "$started" 2>/dev/null
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    [ -n "$x_server" ] && kill "$x_server" 2>/dev/null
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
start_private_x
[ -f "$WINEPREFIX/.ready" ] || { "$wine" wineboot --init >/dev/null 2>&1 &&
    /usr/lib/wine/wineserver -w && touch "$WINEPREFIX/.ready"; }

# On the X server through Wine whatever the caller's platform (the test script's is offscreen).
(cd "$work" && QT_QPA_PLATFORM=windows exec "$wine" "$program/torvel.exe" >/dev/null 2>&1) &
started=$!
window=$(wait_for_window '^RASCHET$' 60)
sleep 1
# Wine draws the frame itself when no window manager runs: the client area (445 x 462 pixels)
# sits at the bottom of the window, between equal side borders.
eval "$(xdotool getwindowgeometry --shell "$window")"
left=$(( (WIDTH - 445) / 2 ))
top=$(( HEIGHT - 462 - left ))

# The middle of a box, in pixels of the client area, from its place in twips.
click() { xdotool mousemove --window "$window" $((left + $1)) $((top + $2)) click 1; }
# Keys go to the focused window as a keyboard sends them (Wine takes no synthetic key events).
type_into() {
    click "$1" "$2"
    xdotool key ctrl+a BackSpace
    [ -n "$3" ] && xdotool type --delay 15 -- "$3"
    return 0
}
read_box() {
    click "$1" "$2"
    xdotool key ctrl+a ctrl+c
    sleep 0.3
    xclip -o -selection clipboard 2>/dev/null
}

# The README's tables: the input row's cells "degrees, minutes" and the output rows' texts.
cells() {  # <table row heading> <column 1-5>
    awk -F'|' -v row="$1" -v col="$2" '$2 ~ "^ " row " *$" { print $(col + 2) }' "$here/README.md" |
        head -1 | sed -e 's/^ *//' -e 's/ *$//'
}
part() {  # <cell> <1|2>: degrees or minutes, "empty" for none, notes in brackets dropped
    local value
    value=$(sed -e 's/ *(.*)//' <<<"$1" | cut -d, -f"$2" | sed -e 's/^ *//' -e 's/ *$//')
    [ "$value" = empty ] && value=
    printf '%s' "$value"
}
quoted() { sed -e 's/^`//' -e 's/`$//' <<<"$1"; }

failed=0
for column in 1 2 3 4 5; do
    site=$(awk -F'|' '$2 ~ "^ Input *$" { print $('"$column"' + 2) }' "$here/README.md" | head -1 |
        sed -e 's/^ *//' -e 's/ *$//')
    lon=$(cells 'Site longitude: degrees, minutes' "$column")
    lat=$(cells 'Site latitude: degrees, minutes' "$column")
    s1=$(cells 'Satellite 1: degrees, minutes' "$column")
    s2=$(cells 'Satellite 2: degrees, minutes' "$column")
    focal=$(cells 'Focal length, mm' "$column")
    type_into 204 97 "$(part "$lon" 1)"
    type_into 328 97 "$(part "$lon" 2)"
    type_into 204 129 "$(part "$lat" 1)"
    type_into 328 129 "$(part "$lat" 2)"
    type_into 204 209 "$(part "$s1" 1)"
    type_into 328 209 "$(part "$s1" 2)"
    type_into 204 257 "$(part "$s2" 1)"
    type_into 328 257 "$(part "$s2" 2)"
    type_into 328 161 "$focal"
    click 76 20  # START
    sleep 1
    for box in "ALFA 1:360:331" "BETA 1:168:332" "ALFA 2:360:364" "BETA 2:168:364" \
               "Feed rotation:212:420" "Elevation shift:104:420" "Centre distance:324:420"; do
        IFS=: read -r heading x y <<<"$box"
        want=$(quoted "$(cells "$heading" "$column")")
        got=$(read_box "$x" "$y")
        if [ "$got" != "$want" ]; then
            echo "windows $site: $heading is '$got', the README says '$want'"
            failed=$((failed + 1))
        fi
    done
    want=$(quoted "$(cells '`rlin1.txt`' "$column")")
    got=$(tr -d '\r' <"$program/rlin1.txt" 2>/dev/null || true)
    if [ "$got" != "$want" ] || [ "$(tail -c 2 "$program/rlin1.txt" | od -An -c | tr -d ' ')" != '\r\n' ]; then
        echo "windows $site: rlin1.txt beside the program holds '$got', the README says '$want' and CR LF"
        failed=$((failed + 1))
    fi
done
[ -n "${TORVEL_WINDOWS_SCREENSHOT:-}" ] && import -window root "$TORVEL_WINDOWS_SCREENSHOT"
if [ "$failed" -eq 0 ]; then
    echo "windows worked example and check values: passed"
else
    echo "windows worked example and check values: $failed texts differ"
fi
all_failed=$failed failed=0

# Johannesburg and its satellites found by name, as the README's town and satellite section says:
# each search opened by its button, the words typed into its line, the first row taken (Return).
choose() {  # <button x> <button y> <typed> [screenshot]
    click "$1" "$2"
    sleep 0.5
    xdotool type --delay 15 -- "$3"
    sleep 0.5
    [ -n "${4:-}" ] && import -window root "$4"
    xdotool key Return
    # Wine without a window manager gives the main window its clicks back about two seconds
    # after the search closes.
    sleep 2.5
}
expect_boxes() {  # <what> then pairs <x:y> <text>; a box is read again for up to 5 s
    local what=$1 got try
    shift
    while [ $# -gt 0 ]; do
        for try in 1 2 3 4 5 6; do
            got=$(read_box "${1%:*}" "${1#*:}")
            [ "$got" = "$2" ] && break
            [ "$try" -lt 6 ] && sleep 1
        done
        if [ "$got" != "$2" ]; then
            echo "windows $what: the box at $1 holds '$got', not '$2'"
            failed=$((failed + 1))
        fi
        shift 2
    done
}
choose 402 97 johannes "${TORVEL_WINDOWS_SEARCH_SCREENSHOT:-}"
expect_boxes "town johannes" 204:97 28 328:97 2.62 204:129 -26 328:129 -12.14
choose 402 209 Hotbird
expect_boxes "satellite Hotbird" 204:209 13 328:209 0
choose 402 209 20E
expect_boxes "satellite 20E" 204:209 20 328:209 0
choose 402 257 36E
expect_boxes "satellite 36E" 204:257 35 328:257 54
type_into 328 161 600
click 76 20  # START
sleep 1
# The town's own coordinates lie a fraction of a minute from the README's row: satellite 1's
# direction within 0.02 degree of it.
for box in "ALFA 1:360:331" "BETA 1:168:332"; do
    IFS=: read -r heading x y <<<"$box"
    want=$(quoted "$(cells "$heading" 5)")
    got=$(read_box "$x" "$y")
    if ! awk -v a="$got" -v b="$want" 'BEGIN { d = a - b; exit !(a != "" && d < 0.02 && d > -0.02) }'; then
        echo "windows Johannesburg by name: $heading is '$got', the README's row says '$want'"
        failed=$((failed + 1))
    fi
done

# The installation sheet: Ctrl+S, the save dialog taken as offered (the documents folder, the
# sheet's own name). Its text must be the Linux program's page for the same choices, but for the
# heading's time line.
documents=("$WINEPREFIX"/drive_c/users/*/Documents)
find -L "${documents[@]}" -name 'RASCHET *.pdf' -delete 2>/dev/null || true
click 212 420  # a result box: the window has the focus, no input box changes
xdotool key ctrl+s
dialog=$(wait_for_window 'Сохранить лист установки' || true)
pdf=
if [ -n "$dialog" ]; then
    sleep 1
    xdotool key Return
    for _ in $(seq 100); do
        pdf=$(find -L "${documents[@]}" -name 'RASCHET *.pdf' -print -quit 2>/dev/null || true)
        [ -n "$pdf" ] && break
        sleep 0.1
    done
fi
if [ -z "$pdf" ]; then
    echo "windows sheet: Ctrl+S wrote no page into the documents folder"
    failed=$((failed + 1))
else
    sleep 0.5
    [ -n "${TORVEL_WINDOWS_SHEET:-}" ] && pdftoppm -r 80 -png -singlefile "$pdf" "${TORVEL_WINDOWS_SHEET%.png}"
    if ! pdfinfo "$pdf" | grep -q -E '^Pages: +1$' ||
        ! pdfinfo "$pdf" | grep -q -E '^Page size: +595(\.[0-9]+)? x 84[12](\.[0-9]+)? pts \(A4\)'; then
        echo "windows sheet: $(basename "$pdf") is not one A4 page"
        failed=$((failed + 1))
    fi
    if [ "$(basename "$pdf")" != "RASCHET $(date +%F) Йоханнесбург 20E 35.9E.pdf" ]; then
        echo "windows sheet: named '$(basename "$pdf")'"
        failed=$((failed + 1))
    fi
    # The words in the order the page draws them, one to a line: where a label of the drawing
    # lands a fraction of a point aside or a line breaks elsewhere, the words stay the same. The
    # computer's time zone has a name of its own under Wine (UTC is Atlantic/Reykjavik there).
    words() {
        pdftotext -raw "$1" - | grep -v '^Расчёт: ' | tr -s ' \n' '\n\n' |
            sed -E 's#^(\(?)[A-Z][A-Za-z_]+/[A-Za-z_/]+$#\1<time zone>#'
    }
    if [ -n "${TORVEL_LINUX_SHEET:-}" ] &&
        ! diff <(words "$TORVEL_LINUX_SHEET") <(words "$pdf") >"$work/sheet.diff"; then
        echo "windows sheet: its text differs from the Linux program's page:"
        head -20 "$work/sheet.diff"
        failed=$((failed + 1))
    fi
fi
if [ "$failed" -eq 0 ]; then
    echo "windows town, satellites and sheet by name: passed"
else
    echo "windows town, satellites and sheet by name: $failed checks failed"
fi
[ $((all_failed + failed)) -eq 0 ]
