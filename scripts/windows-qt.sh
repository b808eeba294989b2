#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds, once, the static Qt for 64-bit Windows that the Windows program is linked with, from
# Debian's own qt6-base source and Debian's MinGW-w64 cross compiler, and keeps it in a cache
# folder outside the checkout:
#   scripts/windows-qt.sh            prints the folder of the installed Qt (building it if needed)
#   scripts/windows-qt.sh --check    prints it only when it is already built; exit 1 otherwise
# The folder's name holds the Qt version and a digest of the build options, so a change of either
# builds a new Qt beside the old one. The first build takes 35-45 minutes on two cores.
set -euo pipefail
cd "$(dirname "$0")/.."
here=$PWD

qt_version=6.4.2
cache=${TORVEL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/torvel}
toolchain=$here/scripts/mingw-w64.cmake

# Only what the program and its tests use: Core, Gui, Widgets and Test, the Windows and offscreen
# platform plugins, and the BMP and PNG readers built into Gui. Debian's source lacks the tablet
# header; 6.4's Windows plugin needs OpenGL, which stays dynamic (nothing of it is linked).
. scripts/qt-options.sh
options=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=OFF
    -DFEATURE_static_runtime=ON
    "${qt_host_build[@]}"
    -DINPUT_opengl=dynamic
    "${qt_unused_features[@]}"
)
digest=$( (printf '%s\n' "${options[@]}"; cat "$toolchain") | sha256sum | cut -c1-12)
prefix=$cache/qt-$qt_version-mingw64-static-$digest

if [ -f "$prefix/lib/cmake/Qt6/qt.toolchain.cmake" ] && [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi
[ "${1:-}" = "--check" ] && exit 1

scripts/setup.sh --windows >&2

work=$cache/work-$qt_version-$digest
mkdir -p "$work"
log=$work/build.log
echo "Building Qt $qt_version for Windows once into $prefix (35-45 minutes); log: $log" >&2

src=$(scripts/qt-source.sh "$qt_version" "$log")

# The installed Qt's own toolchain file refers to this one: it is kept beside the Qt, so the Qt
# still works when this checkout moves or goes.
rm -rf "$work/build" "$prefix"
mkdir -p "$prefix"
cp "$toolchain" "$prefix/mingw-w64.cmake"
cmake -S "$src" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >>"$log" 2>&1
cmake --build "$work/build" -j "$(nproc)" >>"$log" 2>&1
cmake --install "$work/build" >>"$log" 2>&1
# Debian's record of who holds the rights to Qt and what it bundles, for the Windows folder.
cp "$src/debian/copyright" "$prefix/qt6-base.copyright"
touch "$prefix/.complete"
rm -rf "$work/build"
echo "$prefix"
