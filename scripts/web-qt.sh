#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds, once, the static Qt for WebAssembly that the browser program is linked with, from
# Debian's own qt6-base source and Debian's emscripten, and keeps it in a cache folder outside
# the checkout:
#   scripts/web-qt.sh            prints the folder of the installed Qt (building it if needed)
#   scripts/web-qt.sh --check    prints it only when it is already built; exit 1 otherwise
# The folder's name holds the Qt version and a digest of the build options and the emscripten
# version, so a change of any builds a new Qt beside the old one. The first build takes about
# 10-15 minutes on two cores.
set -euo pipefail
cd "$(dirname "$0")/.."
here=$PWD

qt_version=6.4.2
cache=${TORVEL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/torvel}

# Only Core, Gui and Widgets and what they need: no threads (the program has no background
# work; threads would need cross-origin isolation headers from the server), and the widgets the
# program's windows never use turned off for a smaller download. The page offers the sheet as a
# download itself, so there is no file dialog; the file system model stays because a Qt 6.4
# header asks for it. Style sheets (which bring in every widget class they can style), the
# widgets the styles would otherwise bring in (completers, combo and spin boxes, tree and table
# views, and with them the MIME database, a third of a megabyte compressed), settings files,
# accessibility (the 6.4 browser platform has none to serve), gestures and the speed-unrolled
# SHA-3 go too. (MIME types themselves stay: the browser platform's drag code asks for them.)
. scripts/qt-options.sh
options=(
    -DCMAKE_BUILD_TYPE=MinSizeRel
    -DBUILD_SHARED_LIBS=OFF
    -DQT_QMAKE_TARGET_MKSPEC=wasm-emscripten
    "${qt_host_build[@]}"
    -DFEATURE_thread=OFF
    "${qt_unused_features[@]}"
    -DFEATURE_filesystemmodel=ON -DFEATURE_pdf=ON
    -DFEATURE_splashscreen=OFF -DFEATURE_lcdnumber=OFF -DFEATURE_mdiarea=OFF -DFEATURE_dial=OFF
    -DFEATURE_calendarwidget=OFF -DFEATURE_keysequenceedit=OFF -DFEATURE_colordialog=OFF
    -DFEATURE_fontdialog=OFF -DFEATURE_wizard=OFF -DFEATURE_errormessage=OFF
    -DFEATURE_undoview=OFF -DFEATURE_undogroup=OFF -DFEATURE_undostack=OFF
    -DFEATURE_undocommand=OFF -DFEATURE_columnview=OFF -DFEATURE_datawidgetmapper=OFF
    -DFEATURE_commandlinkbutton=OFF -DFEATURE_fontcombobox=OFF -DFEATURE_toolbox=OFF
    -DFEATURE_graphicsview=OFF -DFEATURE_syntaxhighlighter=OFF -DFEATURE_textbrowser=OFF
    -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownreader=OFF
    -DFEATURE_textmarkdownwriter=OFF -DFEATURE_movie=OFF -DFEATURE_sharedmemory=OFF
    -DFEATURE_systemsemaphore=OFF -DFEATURE_dockwidget=OFF
    -DFEATURE_filedialog=OFF -DFEATURE_style_stylesheet=OFF -DFEATURE_style_windows=OFF
    -DFEATURE_accessibility=OFF -DFEATURE_gestures=OFF -DFEATURE_sha3_fast=OFF
    -DFEATURE_completer=OFF -DFEATURE_combobox=OFF -DFEATURE_spinbox=OFF -DFEATURE_treeview=OFF
    -DFEATURE_tableview=OFF -DFEATURE_settings=OFF
)
emscripten_version=$(cat /usr/share/emscripten/emscripten-version.txt 2>/dev/null || echo none)
digest=$( (printf '%s\n' "${options[@]}" "emscripten $emscripten_version") | sha256sum |
    cut -c1-12)
prefix=$cache/qt-$qt_version-wasm-static-$digest

if [ -f "$prefix/lib/cmake/Qt6/qt.toolchain.cmake" ] && [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi
[ "${1:-}" = "--check" ] && exit 1

scripts/setup.sh --web >&2

work=$cache/work-wasm-$qt_version-$digest
mkdir -p "$work"
log=$work/build.log
echo "Building Qt $qt_version for the browser once into $prefix (10-15 minutes); log: $log" >&2

src=$(scripts/qt-source.sh "$qt_version" "$log")

rm -rf "$work/build" "$prefix"
mkdir -p "$prefix"
# Qt finds emscripten through an SDK folder (EMSDK) whose .emscripten names the compiler's root
# below it; Debian installs the compiler under /usr/share/emscripten with its commands in
# /usr/bin. A folder of links in that layout, kept beside the Qt, stands in for the SDK.
emsdk=$prefix/emsdk
root=$emsdk/upstream/emscripten
mkdir -p "$root"
for f in /usr/share/emscripten/*; do ln -s "$f" "$root/$(basename "$f")"; done
for f in /usr/bin/em*; do
    [ -e "$root/$(basename "$f")" ] || ln -s "$f" "$root/$(basename "$f")"
done
echo "EMSCRIPTEN_ROOT = 'upstream/emscripten'" >"$emsdk/.emscripten"
export EMSDK=$emsdk
# Debian's emscripten commands run their Python through PATH; the system's own starts at once
# (a version manager's shim on PATH costs seconds per call, and Qt's configuration makes hundreds).
export EMSDK_PYTHON=${EMSDK_PYTHON:-/usr/bin/python3}
# Debian's emscripten runs its JavaScript tools with node and Debian's node modules (acorn); a
# node that is not Debian's finds them only through NODE_PATH.
[ -d /usr/share/nodejs ] && export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

cmake -S "$src" -B "$work/build" -G Ninja -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" \
    >>"$log" 2>&1
cmake --build "$work/build" -j "$(nproc)" >>"$log" 2>&1
cmake --install "$work/build" >>"$log" 2>&1
# Debian's record of who holds the rights to Qt and what it bundles, for the web archive.
cp "$src/debian/copyright" "$prefix/qt6-base.copyright"
touch "$prefix/.complete"
rm -rf "$work/build"
echo "$prefix"
