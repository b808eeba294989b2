#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and starts it; arguments go to the program (scripts/run.sh --help).
# Only the program and what it needs beside it are built, for release as the packages are, in
# build-release/ (which scripts/screenshot.sh uses too); the tests and benchmarks are built by
# scripts/test.sh in build/. Each library is compiled as one or two files made of its sources
# (CMake's unity build), which halves the time of a first build: the Qt headers, most of the
# work, are read once per library rather than once per source. scripts/test.sh runs this script
# too, so a source that does not build this way is found there.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_UNITY_BUILD=ON >/dev/null
cmake --build build-release -j "$(nproc)" --target torvel
exec build-release/bin/torvel "$@"
