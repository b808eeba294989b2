#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a build-time tool (the picture and legend generators) of the browser build natively: the
# same tool of the host build in the folder given first, for the browser's .js given second.
#   scripts/web-host-tool.sh HOST_BUILD_FOLDER path/to/tool.js ARGUMENTS...
set -euo pipefail
host=$1
tool=$(basename "$2" .js)
shift 2
found=$(find "$host" -type f -name "$tool" -perm -u+x | head -1)
if [ -z "$found" ]; then
    echo "web-host-tool: no $tool in $host" >&2
    exit 1
fi
exec "$found" "$@"
