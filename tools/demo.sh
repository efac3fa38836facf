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
OXVIEW_TOOL=demo
source tools/wine-road.sh
if [ "$OXVIEW_ROAD" = win32 ]; then
    preset=default folder=build
    echo "demo: the 32-bit viewer (build/), as this host runs 32-bit programs"
else
    preset=win64 folder=build-win64
    echo "demo: the 64-bit viewer (build-win64/): $oxview_why"
fi
[ -f $folder/build.ninja ] || cmake --preset $preset >/dev/null
cmake --build --preset $preset --target oxview oxcapture >/dev/null
headless=1
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    headless=0
else
    unset DISPLAY
    source tools/x-display.sh
fi
# Made now, so that the wait for the window below does not include it: the
# first run on a slow machine takes a minute or two.
$folder/wine-run cmd /c exit 0 >/dev/null 2>&1 || {
    echo "demo: Wine could not make its prefix for $folder" >&2
    exit 1
}
if [ $headless -eq 0 ]; then
    exec $folder/wine-run $folder/oxcapture.exe ${image:+"$image"}
fi

source tools/imagemagick.sh
shot="${OXVIEW_DEMO_SHOT:-$PWD/$folder/screenshots/demo.png}"
mkdir -p "$(dirname "$shot")"
$folder/wine-run $folder/oxcapture.exe ${image:+"$image"} &
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
# The loading text shows while the frame is prepared. The frame reaches the
# window in one copy, so it is on screen once the start of its top row and
# of its middle row are. In the raw frame file rows run bottom first in blue,
# green, red; the screenshot gives red, green, blue.
prefix=$($folder/wine-run --prefix)
raw="$prefix/drive_c/windows/temp/oximg.raw"
hex() { od -An -v -tx1 "$@" | tr -d ' \n'; }
header=$(hex -N 24 "$raw")
le32() { echo $((16#${header:$(($1 * 2 + 6)):2}${header:$(($1 * 2 + 4)):2}${header:$(($1 * 2 + 2)):2}${header:$(($1 * 2)):2})); }
width=$(le32 16)
height=$(le32 20)
count=$((width < 64 ? width : 64))
rows=()
for y in 0 $((height / 2)); do
    [ "$count" -gt 0 ] && [ "$height" -gt 0 ] || break
    bgr=$(hex -j $((24 + (height - 1 - y) * width * 3)) -N $((count * 3)) "$raw")
    rgb=""
    for i in $(seq 0 $((count - 1))); do
        rgb+="${bgr:$((i * 6 + 4)):2}${bgr:$((i * 6 + 2)):2}${bgr:$((i * 6)):2}"
    done
    rows+=("$rgb")
done
shows_frame() {
    local pixels row
    pixels=$(im "$shot" -depth 8 rgb:- | hex)
    for row in "${rows[@]}"; do
        [[ "$pixels" == *"$row"* ]] || return 1
    done
}
for _ in $(seq 1 150); do
    im_import -window "$window" "$shot"
    shows_frame && break
    sleep 0.2
done
xdotool mousemove --window "$window" 30 60 click 1
sleep 0.3
xdotool key Escape
status=0
wait "$capture" || status=$?
echo "Screenshot of the viewer: $shot"
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
exit $status
