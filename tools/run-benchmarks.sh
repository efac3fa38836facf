#!/usr/bin/env bash
# Builds the viewer and times each of its stages against a baseline, side by
# side in one run, on an X screen of its own unless DISPLAY answers. Prints
# one table of medians and ratios; it is not a test and fails only when a
# stage cannot run.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake --preset default -DBUILD_TESTING=ON >/dev/null
cmake --build --preset default --target oxview_benchmark
source tools/x-display.sh
build/wine-run cmd /c exit 0 >/dev/null 2>&1 || true
status=0
cmake --build build --target bench || status=$?
WINEPREFIX="$(build/wine-run --prefix)" wineserver -k 2>/dev/null || true
exit $status
