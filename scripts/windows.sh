#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program, cross-built on Debian 12 from this tree with the static Qt that
# scripts/windows-qt.sh keeps in the cache (building that Qt first if it is not there):
#   scripts/windows.sh package [folder]   torvel.exe and torvel-<version>-windows-x64.zip
#   scripts/windows.sh test [folder]      the same, then every test suite under Wine and the
#                                         worked example typed into the real torvel.exe
# The folder is build-windows by default; the zip lands in it. Wine runs in private prefixes in
# that folder: without a display for the build's own tools and the test suites (the offscreen
# platform), and under a private X server for the real program.
set -euo pipefail
cd "$(dirname "$0")/.."
stage=${1:-package}
dir=${2:-build-windows}
case $stage in package | test) ;; *)
    echo "usage: scripts/windows.sh package|test [folder]" >&2
    exit 2
    ;;
esac

scripts/setup.sh --windows
qt=$(scripts/windows-qt.sh)
wine=/usr/lib/wine/wine64

mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
export WINEPREFIX=$dir/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.ready" ]; then
    rm -rf "$WINEPREFIX"
    "$wine" wineboot --init >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
    touch "$WINEPREFIX/.ready"
fi

# The towns and satellites table is written by a tool that reads libgeonames, which only the build
# machine has (Wine cannot run it): a native build of the same sources writes it, and the cross
# build takes it from there.
native=$dir/native
cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$native" --target places_table >/dev/null
places_table=$native/calc/table/places.bin

testing=OFF
[ "$stage" = test ] && testing=ON
# Time stamps as the Linux packages have them.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(scripts/source-date.sh)}
export SOURCE_DATE_EPOCH
cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CROSSCOMPILING_EMULATOR="$wine" \
    -DBUILD_TESTING=$testing -DTORVEL_PLACES_TABLE="$places_table" >/dev/null
cmake --build "$dir" -j "$(nproc)"

# The zip: the portable folder's files with one time stamp, fixed modes (not the umask's) and in
# one order, and without the owner's ids (-X), so that two builds of one commit give the same
# bytes whoever builds them.
version=$(sed -n 's/^project(torvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=torvel-$version-windows-x64
rm -rf "$dir/zip" "$dir/$name.zip"
cmake --install "$dir" --component portable --prefix "$dir/zip/$name" >/dev/null
x86_64-w64-mingw32-strip "$dir/zip/$name/torvel.exe"
chmod -R u=rwX,go=rX "$dir/zip"
find "$dir/zip" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
(cd "$dir/zip" && find "$name" | LC_ALL=C sort | TZ=UTC zip -X -q -@ "$dir/$name.zip")
echo "$dir/$name.zip"

[ "$stage" = test ] || exit 0

# The test suites under Wine, each with the offscreen platform as on Linux.
(cd "$dir" && ctest --output-on-failure -j "$(nproc)") | tee "$dir/ctest.log"
# The real program, as a user starts it from the unzipped folder; its installation sheet is
# compared with the Linux program's page for the same choices.
scripts/sheet-picture.sh "$dir/linux-sheet.pdf" johannesburg >/dev/null
TORVEL_WINE_DESKTOP=$dir/wine-desktop TORVEL_LINUX_SHEET=$dir/linux-sheet.pdf \
    tests/windows/worked_example.sh "$dir/zip/$name" | tee -a "$dir/ctest.log"
