#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fetches and unpacks, once, Debian's own qt6-base source that the static Qt builds (Windows,
# browser) are made from, and prints its folder:
#   scripts/qt-source.sh VERSION LOG
# The source is kept in the cache folder beside the built Qts and shared by them; what apt-get and
# dpkg-source say goes to LOG.
set -euo pipefail

qt_version=$1
log=$2
cache=${TORVEL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/torvel}
src=$cache/qt6-base-$qt_version-source

if [ -d "$src" ]; then
    echo "$src"
    exit 0
fi

# Debian's source package, fetched through apt's source entries made from the machine's own
# binary entries, in a private apt state: the system's apt configuration is left as it is.
work=$(mktemp -d "$cache/qt6-base-$qt_version-fetch.XXXXXX")
trap 'rm -rf "$work"' EXIT
apt_dir=$work/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/parts"
: >"$apt_dir/sources.list"
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && sed -e 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/parts/$(basename "$f")"
done
if [ -f /etc/apt/sources.list ]; then
    sed -n -e 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list >"$apt_dir/sources.list"
fi
apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list"
             -o "Dir::Etc::SourceParts=$apt_dir/parts"
             -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache::pkgcache="
             -o "Dir::Cache::srcpkgcache=" -o "Debug::NoLocking=1")
apt-get "${apt_options[@]}" update -qq >>"$log" 2>&1
mkdir -p "$work/fetch"
(cd "$work/fetch" && apt-get "${apt_options[@]}" source --download-only qt6-base >>"$log" 2>&1)
dsc=$(ls "$work"/fetch/qt6-base_"$qt_version"[+-]*.dsc 2>/dev/null | head -1)
if [ -z "$dsc" ]; then
    echo "Debian's qt6-base source is not version $qt_version; see $log" >&2
    exit 1
fi
dpkg-source --no-check -x "$dsc" "$work/src" >>"$log" 2>&1
# Moved into place whole, so that an interrupted fetch leaves nothing that looks complete.
mv "$work/src" "$src"
echo "$src"
