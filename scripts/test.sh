#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and runs every test: once as built for use, once more under the address
# and undefined-behaviour sanitizers; then fuzzes every reader of outside text for a bounded time;
# then builds the Debian package for release and checks it, its menu entry and its AppStream
# metadata; then, when the static Qt for Windows is in the cache, builds the Windows program and
# runs its tests under Wine; then, when the static Qt for WebAssembly is, the browser program and
# its tests under node and in headless Chromium.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --test

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
# Every native and Windows build goes through ccache: a second run on the same machine, from any
# clone, recompiles only what changed. The browser build does not (web.sh turns it off).
# What is compiled does not depend on the clone's folder (the folder is mapped away), so neither
# it nor the map that names it tells ccache anything.
export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1 CCACHE_IGNOREOPTIONS='-ffile-prefix-map=*'
failed=0

# Builds in the folder, printing nothing when there is nothing to build (ninja's "no work to
# do" is not news) and its progress otherwise.
build() {
    local dir=$1
    shift
    cmake --build "$dir" -j "$jobs" "$@" -- -n | grep -q '^ninja: no work to do' ||
        cmake --build "$dir" -j "$jobs" "$@"
}
# Runs a build folder's tests into its ctest.log: one line when all pass, and when some fail,
# every line but those of the tests that passed (the failures with their output, the summary).
tests_in() { grep -o 'out of [0-9]*' "$1" | tail -1 | grep -o '[0-9]*' || echo 0; }
run_tests() {
    local dir=$1 label=$2
    shift 2
    if (cd "$dir" && "$@" ctest --output-on-failure -j "$jobs") >"$dir/ctest.log" 2>&1; then
        echo "$label: $(grep -o '[0-9]*% tests passed.*' "$dir/ctest.log")"
    else
        echo "$label FAILED:"
        grep -v -E '^ +Start +[0-9]+: |^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' "$dir/ctest.log"
        local failures
        failures=$(grep -o '[0-9]* tests failed out of' "$dir/ctest.log" | grep -o '^[0-9]*' ||
            echo 1)
        failed=$((failed + failures))
    fi
}
tests_passed() { # dir: the tests of its last run that passed
    local failures
    failures=$(grep -o '[0-9]* tests failed out of' "$1/ctest.log" | grep -o '^[0-9]*' || echo 0)
    echo $(($(tests_in "$1/ctest.log") - failures))
}

# Testing on, whatever an earlier configuration of build/ chose.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
build build
run_tests build tests
# The program as scripts/run.sh builds it (unity build, release) answers on its command line
# with its name and the project's version (after what the build says, if anything).
version=$(sed -n 's/^project(torvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
version_passed=0
if answer=$(scripts/run.sh --version 2>&1) && grep -q -x "torvel $version" <<<"$answer"; then
    echo "torvel --version: passed"
    version_passed=1
else
    echo "torvel --version FAILED: expected the line \"torvel $version\", got:"
    echo "$answer"
    failed=$((failed + 1))
fi

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTORVEL_SANITIZE=ON >/dev/null
build build-sanitize
run_tests build-sanitize sanitizers \
    env ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1

# Fuzz targets (clang, libFuzzer): each runs for a bounded time from the seed corpus in the
# repository (and with its dictionary, when it has one), as many at once as there are cores. The
# number reader gets three times as long: a number hundreds of digits long with a many-digit
# exponent takes it up to half a minute to build. New inputs go to the build folder, never into
# the repository. A crash, a sanitizer report or a broken property fails the script and shows
# the log and the input that caused it.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTORVEL_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
build build-fuzz --target fuzz
fuzz_seconds=${TORVEL_FUZZ_SECONDS:-20}
fuzz_run() {
    local target=$1 work=build-fuzz/runs/$1 seconds=$fuzz_seconds options=()
    [ "$target" = leadingnumber ] && seconds=$((fuzz_seconds * 3))
    [ -f "tests/fuzz/$target.dict" ] && options+=(-dict="tests/fuzz/$target.dict")
    rm -rf "$work" && mkdir -p "$work/corpus" "$work/artifacts"
    if UBSAN_OPTIONS=print_stacktrace=1 "build-fuzz/fuzz/fuzz_$target" "${options[@]}" \
        -max_total_time="$seconds" -artifact_prefix="$work/artifacts/" \
        "$work/corpus" "tests/fuzz/corpus/$target" >"$work/log" 2>&1; then
        echo "fuzz_$target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$work/log")"
    else
        echo "fuzz_$target FAILED:"
        grep -v -E '^#[0-9]+' "$work/log" | tail -60
        for input in "$work"/artifacts/*; do [ -f "$input" ] && od -c "$input" | head -20; done
        return 1
    fi
}
# The longest first; each core takes the next target as soon as it is free.
targets=(leadingnumber numbertext datafile runstart)
running=0 fuzz_failed=0
for target in "${targets[@]}"; do
    if ((running == jobs)); then
        wait -n || fuzz_failed=$((fuzz_failed + 1))
        running=$((running - 1))
    fi
    fuzz_run "$target" &
    running=$((running + 1))
done
for ((; running > 0; running--)); do wait -n || fuzz_failed=$((fuzz_failed + 1)); done
fuzz_passed=$(( ${#targets[@]} - fuzz_failed ))
failed=$((failed + fuzz_failed))

# The Debian package as a user gets it: lintian, then the menu entry and the AppStream metadata
# it carries; any error or warning fails.
scripts/package.sh --linux build-package >/dev/null
deb=$(ls build-package/torvel_*.deb)
contents=build-package/contents
rm -rf "$contents" && dpkg-deb -x "$deb" "$contents"
package_checks=(
    "lintian --fail-on error,warning $deb"
    "desktop-file-validate $contents/usr/share/applications/*.desktop"
    "appstreamcli validate --no-net $contents/usr/share/metainfo/*.metainfo.xml"
)
# lintian leaves temporary files behind in TMPDIR; a folder of its own, removed afterwards.
checks_tmp=build-package/tmp
rm -rf "$checks_tmp" && mkdir -p "$checks_tmp"
package_passed=0
for check in "${package_checks[@]}"; do
    # lintian says that it runs as root; that line is not about the package. lintian and
    # appstreamcli mark their findings "E: " and "W: ", desktop-file-validate "error: " and
    # "warning: ".
    if output=$(TMPDIR=$PWD/$checks_tmp $check 2>&1 | grep -v '^running with root privileges'
                exit "${PIPESTATUS[0]}") &&
        ! grep -q -E '^(E|W): |(error|warning): ' <<<"$output"; then
        echo "${check%% *}: passed"
        package_passed=$((package_passed + 1))
    else
        echo "${check%% *} FAILED:"
        echo "$output"
        failed=$((failed + 1))
    fi
done
rm -rf "$checks_tmp"

# A cross-built program's stage: it needs a static Qt that a script of its own builds once into
# the cache, and runs when that Qt is there, or when the variable asks for it (building it first).
# Its log stays in the build folder; the count of what passed is what count() says of the log.
stage_passed=0
cross_stage() {  # <name> <variable> <folder> <what builds the Qt> <minutes> <what passes>
    local name=$1 variable=$2 dir=$3 qt=$4 minutes=$5 passes=$6
    stage_passed=0
    if [ "${!variable:-}" = 1 ] || "scripts/$qt" --check >/dev/null; then
        mkdir -p "$dir"
        if "scripts/$name.sh" test "$dir" >"$dir/$name.log" 2>&1; then
            stage_passed=$(count "$dir")
            echo "$name: $stage_passed passed ($passes)"
        else
            echo "$name FAILED:"
            tail -60 "$dir/$name.log"
            failed=$((failed + 1))
        fi
    else
        echo "$name: not built: its static Qt is not in the cache; scripts/$qt builds it once"
        echo "  ($minutes minutes), $variable=1 makes this script do it first"
    fi
}

# The Windows program: cross-built, its test suites under Wine, and the worked example, the check
# values, the town and satellite search and the installation sheet in the real torvel.exe.
count() { echo $(( $(tests_in "$1/ctest.log") + 1 )); }
cross_stage windows TORVEL_WINDOWS build-windows windows-qt.sh 35-45 \
    "test suites under Wine, the real torvel.exe"
windows_passed=$stage_passed

# The program in a browser: its core suites under node, the storage script, and the real page in
# headless Chromium at a phone's size.
count() { echo $(( $(sed -n 's/^under node: \([0-9]*\) suites passed$/\1/p' "$1/web.log") + 2 )); }
cross_stage web TORVEL_WEB build-web web-qt.sh 10-15 \
    "suites under node, the storage script, the page in Chromium"
web_passed=$stage_passed

# One closing count over all runs: each ctest run reports "... out of N" when all passed.
passed=$(( $(tests_passed build) + version_passed + $(tests_passed build-sanitize) + fuzz_passed
           + package_passed + windows_passed + web_passed ))
echo "all: $passed passed, $failed failed"
exit "$failed"
