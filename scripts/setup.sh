#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building, running and testing the program needs on Debian 12.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev
          fonts-dejavu-core fonts-liberation)
if [ "${1:-}" = "--package" ] || [ "${1:-}" = "--test" ]; then
    # The Debian package's library dependencies (dpkg-shlibdeps).
    packages+=(dpkg-dev)
fi
if [ "${1:-}" = "--screenshot" ]; then
    # A private X server, a driver that types and clicks, and a screen grabber.
    packages+=(xvfb x11-utils xdotool imagemagick)
fi
if [ "${1:-}" = "--windows" ]; then
    # The Windows program: the MinGW-w64 cross compiler, the tools that unpack Debian's Qt
    # source, Wine to run the Windows tests, and zip for the Windows archive.
    packages+=(g++-mingw-w64-x86-64-posix dpkg-dev xz-utils wine64 zip xvfb xauth x11-utils
               xdotool xclip imagemagick)
fi
if [ "${1:-}" = "--web" ]; then
    # The program in a browser: Debian's emscripten, the tools that unpack Debian's Qt source,
    # zip for the web archive, and Chromium for the page test.
    packages+=(emscripten dpkg-dev xz-utils zip chromium python3)
fi
if [ "${1:-}" = "--test" ]; then
    # Headless display and screenshots for the window tests and start-up measurements,
    # clang with its runtime for the sanitizer and fuzzing runs, and the checkers of the
    # Debian package, its menu entry and its AppStream metadata.
    packages+=(xvfb xauth x11-utils imagemagick clang libclang-rt-14-dev
               lintian desktop-file-utils appstream)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

# apt-get runs as root: directly for root, through sudo for anyone else. sudo clears the
# environment, so the non-interactive setting is passed through env on its far side; without it
# debconf would try to ask questions on a terminal it cannot use.
apt=(env DEBIAN_FRONTEND=noninteractive apt-get)
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "Missing packages: ${missing[*]}; install them as root (su -c 'apt-get install" \
             "${missing[*]}') or install sudo, then run this again." >&2
        exit 1
    fi
    apt=(sudo "${apt[@]}")
fi

# What apt-get and dpkg say goes to a log, shown only when something fails; sudo asks for the
# password on the terminal itself.
log=$(mktemp "${TMPDIR:-/tmp}/torvel-setup.XXXXXX.log")
echo "Installing: ${missing[*]}"
if ! { "${apt[@]}" update && "${apt[@]}" install -y --no-install-recommends "${missing[@]}"; } \
    >"$log" 2>&1; then
    tail -n 5 "$log" >&2
    echo "Installing the packages failed; all of apt-get's output is in $log" >&2
    exit 1
fi
rm -f "$log"
