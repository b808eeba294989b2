#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the time stamp (seconds since 1970) that every file of the packages carries, so that two
# builds of one commit give the same bytes: the last commit's time in this folder's own git
# checkout; in a copy of the sources without git (an unpacked archive), the date of the release
# at the top of packaging/changelog.in, which every copy carries and which changes only with a
# release, while the files' own times are whatever the way of copying them set.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only this folder's own repository counts, not one that merely contains it.
if command -v git >/dev/null && [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$(pwd -P)" ]
then
    git log -1 --format=%ct
else
    # The trailer line " -- maintainer  date" of the first entry.
    date -d "$(sed -n '/^ -- /{s/.*  //p;q}' packaging/changelog.in)" +%s
fi
