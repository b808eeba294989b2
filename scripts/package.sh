#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package and the portable folder's archive for release:
#   scripts/package.sh [build folder]    (build-package by default)
# Every time stamp the build and the packages hold is that of the last commit, so two builds of
# one commit, in any folders, give byte-identical packages.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --package

dir=${1:-build-package}
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)"
rm -f "$dir"/torvel_*.deb "$dir"/torvel-*-portable-*.tar.gz
(cd "$dir" && cpack -G DEB >/dev/null && cpack -G TGZ >/dev/null)
ls "$dir"/torvel_*.deb "$dir"/torvel-*-portable-*.tar.gz
