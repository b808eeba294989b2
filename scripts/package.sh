#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package and the portable folder's archive for release:
#   scripts/package.sh [build folder]    (build-package by default)
# Every time stamp the build and the packages hold is that of the last commit, so two builds of
# one commit, in any folders, give byte-identical packages. In a copy of the sources without git
# (an unpacked archive) it is the date of the release at the top of packaging/changelog.in: every
# copy carries it and it changes only with a release, while the files' own times are whatever the
# way of copying them set. The version is the project's (CMakeLists.txt) either way.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --package

dir=${1:-build-package}
# Only this folder's own repository counts, not one that merely contains it.
if command -v git >/dev/null && [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$(pwd -P)" ]
then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
else
    # The trailer line " -- maintainer  date" of the first entry.
    SOURCE_DATE_EPOCH=$(date -d "$(sed -n '/^ -- /{s/.*  //p;q}' packaging/changelog.in)" +%s)
fi
export SOURCE_DATE_EPOCH
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)"
rm -f "$dir"/torvel_*.deb "$dir"/torvel-*-portable-*.tar.gz
# CPack talks on standard error too; its log is shown only when it fails.
if ! (cd "$dir" && cpack -G DEB && cpack -G TGZ) >"$dir/cpack.log" 2>&1; then
    cat "$dir/cpack.log" >&2
    exit 1
fi
ls "$dir"/torvel_*.deb "$dir"/torvel-*-portable-*.tar.gz
