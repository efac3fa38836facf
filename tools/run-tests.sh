#!/usr/bin/env bash
# Builds everything and runs every test under Wine, from a fresh Debian 12
# machine on: installs what is missing and starts an X screen if there is none.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake --preset default -DBUILD_TESTING=ON
cmake --build --preset default
source tools/x-display.sh
# The wine-run wrapper makes the build's own Wine prefix on first use; make
# it here, before tests start in parallel.
build/wine-run cmd /c exit 0 >/dev/null 2>&1 || true
status=0
ctest --preset default -j 2 || status=$?
WINEPREFIX="${OXVIEW_WINEPREFIX:-$PWD/build/wineprefix}" wineserver -k 2>/dev/null || true
exit $status
