#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building, running and testing the program needs on Debian 12:
#   scripts/setup.sh [--test | --package | --screenshot | --windows | --web]
# Quiet and quick when everything is already there. While apt-get works it says so every ten
# seconds; what apt-get says goes to setup.log in the mode's build folder, shown only when it
# fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# What every mode needs: the compiler, CMake, Qt and the fonts the windows are laid out in;
# libgeonames and the DVB-S scan tables, read at build time only into the program's towns and
# satellites table (the program needs neither at run time).
packages=(build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev
          fonts-dejavu-core fonts-liberation libgeonames0 libgeonames-common libgeonames-dev
          dtv-scan-tables)
# Each mode's own list, added to that; the mode's build folder keeps the log.
mode=${1:-}
case $mode in
    "")
        mode_packages=()
        build=build-release
        ;;
    --package)
        # The Debian package's library dependencies (dpkg-shlibdeps).
        mode_packages=(dpkg-dev)
        build=build-package
        ;;
    --screenshot)
        # A private X server, a driver that types and clicks, a screen grabber, and poppler's
        # tools that render the installation sheet.
        mode_packages=(xvfb x11-utils xdotool imagemagick poppler-utils)
        build=build-release
        ;;
    --windows)
        # The Windows program: the MinGW-w64 cross compiler, the tools that unpack Debian's Qt
        # source, Wine to run the Windows tests, zip for the Windows archive, and poppler's tools
        # that read its installation sheet back.
        mode_packages=(g++-mingw-w64-x86-64-posix dpkg-dev xz-utils wine64 zip xvfb xauth
                       x11-utils xdotool xclip imagemagick poppler-utils)
        build=build-windows
        ;;
    --web)
        # The program in a browser: Debian's emscripten, the tools that unpack Debian's Qt
        # source, fontTools that takes the hinting out of the carried fonts, zip for the web
        # archive, and Chromium for the page test.
        mode_packages=(emscripten dpkg-dev xz-utils python3-fonttools zip chromium python3)
        build=build-web
        ;;
    --test)
        # The Debian package's library dependencies; ccache, which keeps repeated runs short;
        # headless display and screenshots for the window tests and start-up measurements; clang
        # with its runtime for the sanitizer and fuzzing runs; the checkers of the Debian package, its menu entry and its AppStream
        # metadata; poppler's tools that read the installation sheet back, and ERFA, the sun's
        # place its outage days are checked against.
        mode_packages=(dpkg-dev ccache
                       xvfb xauth x11-utils imagemagick
                       clang libclang-rt-14-dev
                       lintian desktop-file-utils appstream
                       poppler-utils liberfa-dev)
        build=build
        ;;
    *)
        echo "usage: scripts/setup.sh [--test | --package | --screenshot | --windows | --web]" >&2
        exit 2
        ;;
esac
packages+=("${mode_packages[@]}")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

# apt-get runs as root: directly for root, through sudo for anyone else who may use it. sudo
# clears the environment, so the non-interactive setting is passed through env on its far side;
# without it debconf would try to ask questions on a terminal it cannot use.
apt=(env DEBIAN_FRONTEND=noninteractive apt-get)
as_root() {
    echo "Missing packages: ${missing[*]}; install them as root" \
         "(su -c 'apt-get install ${missing[*]}')$1, then run this again." >&2
    exit 1
}
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || as_root " or install sudo"
    # Whether sudo may run apt-get: without a password, or after asking for it on the terminal
    # (sudo asks on the controlling terminal, which a script run without one lacks). A user sudo
    # refuses gets the root command before apt-get ever runs.
    allowed() { sudo -n -l "${apt[@]}" >/dev/null 2>&1; }
    if ! allowed; then
        if ! (: </dev/tty) 2>/dev/null || ! sudo -v || ! allowed; then as_root ""; fi
    fi
    apt=(sudo -n "${apt[@]}")
fi

mkdir -p "$root/$build"
log=$root/$build/setup.log
echo "Installing ${#missing[@]} packages and those they need (about a minute on a fresh" \
     "system): ${missing[*]}"
{ "${apt[@]}" update && "${apt[@]}" install -y --no-install-recommends "${missing[@]}"; } \
    >"$log" 2>&1 &
apt_job=$!
# Every ten seconds, how far apt-get has come, from what it has written to the log so far
# (what follows the install's summary line, so that the package lists' own downloads do not count).
count() { sed -n '/newly installed/,$p' "$log" | grep -c "$1" || true; }
for ((seconds = 1; ; seconds++)); do
    sleep 1
    kill -0 "$apt_job" 2>/dev/null || break
    ((seconds % 10 == 0)) || continue
    total=$(grep -o '[0-9]* newly installed' "$log" | grep -o '[0-9]*' || true)
    if [ -z "$total" ]; then
        echo "  $seconds s: reading the package lists"
    else
        echo "  $seconds s: $total packages: $(count '^Get:') downloaded," \
             "$(count '^Unpacking ') unpacked, $(count '^Setting up ') set up"
    fi
done
if ! wait "$apt_job"; then
    tail -n 5 "$log" >&2
    echo "Installing the packages failed; apt-get's output is in $log" >&2
    exit 1
fi
rm -f "$log"
