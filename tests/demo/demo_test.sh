#!/usr/bin/env bash
# Runs the README's demo headless, in a Wine prefix of its own, and checks
# that its screenshot shows the test pattern the right way round.
set -euo pipefail
source_dir="$1"
build_dir="$2"
source "$source_dir/tools/imagemagick.sh"
shot="$build_dir/screenshots/demo-test.png"
rm -f "$shot"

status=0
env -u DISPLAY OXVIEW_DEMO_SHOT="$shot" OXVIEW_WINEPREFIX="$build_dir/demo-wineprefix" \
    bash "$source_dir/tools/demo.sh" || status=$?
[ "$status" -eq 0 ] || { echo "FAIL: the demo ended with $status, not 0"; exit 1; }
[ -s "$shot" ] || { echo "FAIL: no screenshot at $shot"; exit 1; }

pixels=$(mktemp)
trap 'rm -f "$pixels"' EXIT
im "$shot" -depth 8 txt:- | sed -n 's/^\([0-9]*\),\([0-9]*\):.*#\([0-9A-F]\{6\}\).*/\1 \2 \3/p' >"$pixels"

# The marker's red square is the leftmost pure red; it starts 4 pixels into
# the picture, so its first pixel gives the picture's place in the shot.
read -r rx ry < <(awk '$3 == "FF0000" { print $1, $2 }' "$pixels" | sort -n -k1,1 -k2,2 | head -n 1)
[ -n "${rx:-}" ] || { echo "FAIL: no red marker in the screenshot"; exit 1; }
x0=$((rx - 4))
y0=$((ry - 4))

failures=0
expect() { # x y colour what: a pixel of the screenshot
    local got
    got=$(awk -v x="$1" -v y="$2" '$1 == x && $2 == y { print $3 }' "$pixels")
    if [ "$got" != "$3" ]; then
        echo "FAIL: $4 at ($1,$2) of the screenshot: got ${got:-nothing}, expected $3"
        failures=$((failures + 1))
    fi
}
# The 640x480 rows of the tests' table of pattern pixels, as "x y red green blue".
rows=$(sed -n 's/^ *{640, 480, \([0-9]*\), \([0-9]*\), "\([0-9]*\),\([0-9]*\),\([0-9]*\)"},$/\1 \2 \3 \4 \5/p' \
    "$source_dir/tests/support/test_pattern_pixels.h")
[ "$(echo "$rows" | wc -l)" -ge 10 ] || { echo "FAIL: no table of pattern pixels"; exit 1; }
while read -r x y red green blue; do
    [ "$y" -lt 470 ] || continue # the window's menu bar leaves the last rows out of view
    expect $((x0 + x)) $((y0 + y)) "$(printf %02X%02X%02X "$red" "$green" "$blue")" "pattern pixel ($x,$y)"
done <<<"$rows"
# The close button's cross, where this Wine puts the button (Wine 10 draws
# the caption taller than Wine 8): its black pixels span a square whose
# corners and centre are black and whose top and left middles are not, as an
# X's are. Without Wine's Marlett font in the prefix it shows an "r".
source "$source_dir/tools/x-display.sh" # the probe makes a window, never shown
button=$(OXVIEW_WINEPREFIX="$build_dir/demo-wineprefix" "$build_dir/wine-run" \
    "$build_dir/tests/caption_button_probe.exe" $(im "$shot" -format '%w %h' info:) | tr -d '\r')
read -r left top right bottom <<<"$button"
[ -n "${bottom:-}" ] || { echo "FAIL: the probe gave no close button: '$button'"; exit 1; }
read -r x0 y0 x1 y1 < <(awk -v l="$left" -v t="$top" -v r="$right" -v b="$bottom" '
    $3 == "000000" && $1 >= l && $1 < r && $2 >= t && $2 < b {
        if (n++ == 0) { x0 = x1 = $1; y0 = y1 = $2 }
        if ($1 < x0) x0 = $1; if ($1 > x1) x1 = $1; if ($2 < y0) y0 = $2; if ($2 > y1) y1 = $2
    }
    END { if (n) print x0, y0, x1, y1 }' "$pixels")
if [ -z "${y1:-}" ] || [ $((x1 - x0)) -lt 4 ] || [ $((x1 - x0)) -ne $((y1 - y0)) ]; then
    echo "FAIL: no square of black in the close button at ($left,$top)-($right,$bottom): ${x0:-none} ${y0:-} ${x1:-} ${y1:-}"
    failures=$((failures + 1))
else
    cx=$(((x0 + x1) / 2))
    cy=$(((y0 + y1) / 2))
    for corner in "$x0 $y0" "$x1 $y0" "$x0 $y1" "$x1 $y1" "$cx $cy"; do
        expect $corner 000000 "the close button's cross"
    done
    for middle in "$cx $y0" "$x0 $cy"; do
        read -r x y <<<"$middle"
        got=$(awk -v x="$x" -v y="$y" '$1 == x && $2 == y { print $3 }' "$pixels")
        [ "$got" != 000000 ] || { echo "FAIL: the close button's cross is filled at ($x,$y)"; failures=$((failures + 1)); }
    done
fi
[ "$failures" -eq 0 ] || exit 1
