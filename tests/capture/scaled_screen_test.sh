#!/usr/bin/env bash
# screen_capture_test on displays scaled to 200% and 100%, in a Wine prefix of
# its own (made once, kept). Wine 10 reads the scale when the prefix's desktop
# starts: each row sets it, then waits until the prefix has stopped.
# Usage: scaled_screen_test.sh WINE_RUN SCREEN_CAPTURE_TEST PREFIX
set -euo pipefail
run=$1 test=$2
export OXVIEW_WINEPREFIX=$3
key='HKCU\Control Panel\Desktop'
stop() { WINEPREFIX=$("$run" --prefix) wineserver -w; }
trap '"$run" reg delete "$key" /v LogPixels /f >/dev/null 2>&1 || true; stop' EXIT
for dpi in 192 96; do
    echo "== $dpi DPI"
    "$run" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
    stop
    "$run" "$test"
done
