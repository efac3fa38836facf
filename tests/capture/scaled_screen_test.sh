#!/usr/bin/env bash
# The screen test as users of scaled displays meet it: each row sets the
# display scale (LogPixels) of a Wine prefix of this test's own, then runs
# screen_capture_test there. Wine 10 takes the scale when the prefix's
# desktop starts, so every row waits until the prefix has stopped. The
# setting is removed at the end; the prefix is made on the first run and kept.
# Usage: scaled_screen_test.sh WINE_RUN SCREEN_CAPTURE_TEST PREFIX
set -euo pipefail
run=$1 test=$2
export OXVIEW_WINEPREFIX=$3
key='HKCU\Control Panel\Desktop'
stop() { WINEPREFIX=$("$run" --prefix) wineserver -w; }
trap '"$run" reg delete "$key" /v LogPixels /f >/dev/null 2>&1 || true; stop' EXIT
for dpi in 192 96; do # 200%, 100%
    echo "== $dpi DPI"
    "$run" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
    stop
    "$run" "$test"
done
