#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the packages for release: the Debian package, the portable folder's archive, the
# Windows program's zip and the browser's page as a zip:
#   scripts/package.sh [--linux] [build folder]    (build-package by default)
# --linux leaves out the Windows and the web zips. The Windows zip is cross-built with the static
# Qt for Windows that scripts/windows-qt.sh keeps in the cache (the first time, building that Qt
# takes 35-45 minutes); the web zip with the static Qt for the browser of scripts/web-qt.sh
# (10-15 minutes the first time).
# Every time stamp the build and the packages hold is the one scripts/source-date.sh gives (the
# last commit's, or the release's in a copy without git), so two builds of one commit, in any
# folders, give byte-identical packages. The version is the project's (CMakeLists.txt).
set -euo pipefail
cd "$(dirname "$0")/.."
# The packages record the modes of the files and folders the build and CPack make, which the
# umask sets: the usual one, whatever the builder's own (002 would give group-writable folders).
umask 022
windows=yes
if [ "${1:-}" = --linux ]; then
    windows=
    shift
fi
scripts/setup.sh --package

dir=${1:-build-package}
SOURCE_DATE_EPOCH=$(scripts/source-date.sh)
export SOURCE_DATE_EPOCH
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)"
rm -f "$dir"/torvel_*.deb "$dir"/torvel-*-portable-*.tar.gz
# CPack talks on standard error too; its log is shown only when it fails.
if ! (cd "$dir" && cpack -G DEB) >"$dir/cpack.log" 2>&1; then
    cat "$dir/cpack.log" >&2
    exit 1
fi
# The portable folder's archive: every entry owned by root (0/0, numeric), with fixed modes, in
# name order and with one time stamp, so that it holds nothing of the account or the umask that
# built it.
version=$(sed -n 's/^project(torvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=torvel-$version-portable-$(uname -s)
rm -rf "$dir/portable"
cmake --install "$dir" --component portable --strip --prefix "$dir/portable/$name" >/dev/null
tar -C "$dir/portable" --sort=name --format=gnu --owner=0 --group=0 --numeric-owner \
    --mode=u=rwX,go=rX --mtime="@$SOURCE_DATE_EPOCH" -cf - "$name" | gzip -9 -n >"$dir/$name.tar.gz"
ls "$dir"/torvel_*.deb "$dir/$name.tar.gz"
if [ -n "$windows" ]; then
    rm -f "$dir"/torvel-*-windows-x64.zip
    zip=$(scripts/windows.sh package "$dir/windows" | tail -1)
    cp "$zip" "$dir/"
    ls "$dir/$(basename "$zip")"
    rm -f "$dir"/torvel-*-web.zip
    zip=$(scripts/web.sh package "$dir/web" | tail -1)
    cp "$zip" "$dir/"
    ls "$dir/$(basename "$zip")"
fi
