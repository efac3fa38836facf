#!/usr/bin/env bash
# Builds everything and runs every test under Wine, from a fresh Debian 12
# machine on: installs what is missing and starts an X screen if there is none.
# Where the host runs 32-bit programs: every test on the 32-bit build, and
# the quick tests on the 64-bit build too. Where it does not (or with
# OXVIEW_ARCH=win64): every test on the 64-bit build, and the 32-bit programs
# built and checked as files.
set -euo pipefail
cd "$(dirname "$0")/.."
OXVIEW_TOOL=tests

tools/install-deps.sh
source tools/wine-road.sh
source tools/x-display.sh

# Configures and builds one preset; extra arguments go to the configure step.
build() {
    local preset=$1
    shift
    cmake --preset "$preset" -DBUILD_TESTING=ON "$@" >/dev/null
    cmake --build --preset "$preset"
}
# Makes the build's Wine prefix before tests start in parallel, then runs
# the test preset. Another prefix's wineserver is left alone.
run() {
    local folder=$1 preset=$2 status=0
    "$folder/wine-run" cmd /c exit 0 >/dev/null 2>&1 || true
    ctest --preset "$preset" -j 2 || status=$?
    WINEPREFIX="$("$folder/wine-run" --prefix)" wineserver -k 2>/dev/null || true
    return $status
}

status=0
if [ "$OXVIEW_ROAD" = win32 ]; then
    echo "tests: this host runs 32-bit programs: every test on the 32-bit build (build/), the quick tests on the 64-bit build (build-win64/)"
    # The native fuzz builds belong to the 32-bit run; the 64-bit one need not
    # repeat them. Said on every configure, since the cache keeps the last word.
    build default -DOXVIEW_NATIVE_FUZZING=ON
    build win64 -DOXVIEW_NATIVE_FUZZING=OFF
    run build default || status=$?
    run build-win64 win64-quick || status=$?
else
    echo "tests: $oxview_why: every test on the 64-bit build (build-win64/); the 32-bit programs (build/) are built and checked as files only"
    cmake --preset default -DBUILD_TESTING=ON -DOXVIEW_NATIVE_FUZZING=OFF >/dev/null
    cmake --build --preset default --target oxview oxcapture
    ctest --preset default -L files || status=$?
    build win64 -DOXVIEW_NATIVE_FUZZING=ON
    run build-win64 win64 || status=$?
fi
exit $status
