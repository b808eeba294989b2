#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program in a browser, built on Debian 12 from this tree with Debian's emscripten and the
# static Qt that scripts/web-qt.sh keeps in the cache (building that Qt first if it is not there):
#   scripts/web.sh package [folder]   the page's folder site/ and torvel-<version>-web.zip
#   scripts/web.sh test [folder]      the same, then the page driven in headless Chromium
# The folder is build-web by default; the zip lands in it. The build's own tools (the picture and
# legend generators) are those of a native build in host/ beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
stage=${1:-package}
dir=${2:-build-web}
case $stage in package | test) ;; *)
    echo "usage: scripts/web.sh package|test [folder]" >&2
    exit 2
    ;;
esac

scripts/setup.sh --web
# emscripten's compilers are scripts that ccache does not know.
unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER
qt=$(scripts/web-qt.sh)
export EMSDK=$qt/emsdk EMSDK_PYTHON=${EMSDK_PYTHON:-/usr/bin/python3}
[ -d /usr/share/nodejs ] && export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
# Time stamps as the Linux packages have them.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(scripts/source-date.sh)}
export SOURCE_DATE_EPOCH

cmake -S . -B "$dir/host" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
# The host build also writes the towns and satellites table (from libgeonames, which the browser
# build cannot run), and the browser build takes it from there.
cmake --build "$dir/host" --target makefigures legendgen places_table
cmake -S . -B "$dir/wasm" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING=OFF \
    -DTORVEL_PLACES_TABLE="$dir/host/calc/table/places.bin" -DTORVEL_HOST_TOOLS="$dir/host" \
    >/dev/null
cmake --build "$dir/wasm" --target torvel

# The page's folder: the program, Qt's loader, the page, its manifest and icons, and the service
# worker, whose cache is named after the version and a digest of every other file.
version=$(sed -n 's/^project(torvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=torvel-$version-web
site=$dir/zip/$name
rm -rf "$dir/zip" "$dir/$name.zip"
mkdir -p "$site"
cp "$dir/wasm/bin/torvel.js" "$dir/wasm/bin/torvel.wasm" "$qt/plugins/platforms/qtloader.js" \
    web/torvel.html web/manifest.webmanifest LICENSE "$site/"
for size in 48 128 256; do cp "$dir/wasm/icons/$size.png" "$site/icon-$size.png"; done
# The licence terms of what the program has built in, as the Windows folder carries them.
sed -f packaging/copyright-web.sed packaging/copyright-windows >"$site/copyright"
cp /usr/share/common-licenses/LGPL-3 "$site/LGPL-3"
cp "$qt/qt6-base.copyright" "$site/"
mkdir -p "$site/fonts"
cp /usr/share/doc/fonts-liberation/copyright "$site/fonts/LICENSE"
cp /usr/share/common-licenses/GPL-2 "$site/fonts/GPL-2"
site_files() { (cd "$site" && find . -type f -printf '%P\n' | LC_ALL=C sort); }
files=$(site_files | sed -e 's/.*/"&"/' | paste -sd, -)
stamp=$version-$(cd "$site" && site_files | xargs cat | sha256sum | cut -c1-12)
sed -e "s/@TORVEL_WEB_STAMP@/$stamp/" -e "s|@TORVEL_WEB_FILES@|$files|" web/sw.js.in \
    >"$site/sw.js"
# The zip with one time stamp and in one order, so that two builds of one commit give the same
# bytes.
find "$dir/zip" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
(cd "$dir/zip" && find "$name" | LC_ALL=C sort | TZ=UTC zip -X -q -@ "$dir/$name.zip")
echo "$dir/$name.zip"

[ "$stage" = test ] || exit 0

# What a phone on a weak link fetches on the first visit: every file the service worker keeps,
# compressed as a web server sends them. The aim is under 4 MB.
sent=$( (cd "$site" && site_files | while read -r f; do gzip -9c "$f" | wc -c; done) |
    awk '{ s += $1 } END { print s }')
echo "the page and all it loads: $sent bytes compressed (gzip -9)"
if [ "$sent" -ge 4000000 ]; then
    echo "FAIL: over the 4 MB the page may take" >&2
    exit 1
fi

# The suites that need no window and no real folder, built for the browser and run under node
# (whose own fetch would make the program take node for a browser).
cmake "$dir/wasm" -DBUILD_TESTING=ON >/dev/null
suites=(tst_numbers tst_calccore tst_geomag)
cmake --build "$dir/wasm" --target "${suites[@]}"
: >"$dir/node-tests.log"
for suite in "${suites[@]}"; do
    node --no-experimental-fetch tests/web/run_node.js "$dir/wasm/tests/$suite/$suite.js" \
        >>"$dir/node-tests.log" 2>&1 || { tail -40 "$dir/node-tests.log"; exit 1; }
done
echo "under node: ${#suites[@]} suites passed"
# The storage script with a small program of its own: a file saved survives a reload, and a
# browser without storage is told to the program.
python3 tests/web/storage_test.py "$dir/storage-probe"
# The page itself, in headless Chromium at a phone's size.
python3 tests/web/page_test.py "$site" ${TORVEL_WEB_SCREENSHOTS:+--screenshots "$TORVEL_WEB_SCREENSHOTS"}
