#!/usr/bin/env bash
# Shows the viewer on the built-in test pattern, or on the picture file named,
# through the capture program. With no display it runs on a private X screen,
# saves a screenshot of the viewer, closes it with Esc and says where the
# screenshot is. Ends with the viewer's exit code.
set -euo pipefail
cd "$(dirname "$0")/.."
image="${1:-}"
if [ -n "$image" ]; then
    [ -f "$image" ] || { echo "demo: $image: no such file" >&2; exit 1; }
    image="Z:$(realpath "$image" | tr / '\\')"
fi

tools/install-deps.sh
[ -f build/build.ninja ] || cmake --preset default >/dev/null
cmake --build --preset default --target oxview oxcapture >/dev/null

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec build/wine-run build/oxcapture.exe ${image:+"$image"}
fi

unset DISPLAY
source tools/x-display.sh
shot="${OXVIEW_DEMO_SHOT:-$PWD/build/screenshots/demo.png}"
mkdir -p "$(dirname "$shot")"
build/wine-run build/oxcapture.exe ${image:+"$image"} &
capture=$!

window=""
for _ in $(seq 1 300); do
    window=$(xdotool search --name '^OrbiluxCap_KT5810$' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    kill -0 "$capture" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "demo: the viewer did not open its window" >&2
    wait "$capture" || exit $?
    exit 1
fi
# The loading text shows while the frame is prepared; give the first
# redraws time to land before the picture is taken.
sleep 2
import -window "$window" "$shot"
xdotool mousemove --window "$window" 30 60 click 1
sleep 0.3
xdotool key Escape
status=0
wait "$capture" || status=$?
echo "Screenshot of the viewer: $shot"
WINEPREFIX="${OXVIEW_WINEPREFIX:-$PWD/build/wineprefix}" wineserver -k 2>/dev/null || true
exit $status
