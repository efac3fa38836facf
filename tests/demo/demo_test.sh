#!/usr/bin/env bash
# Runs the README's demo headless, in a Wine prefix of its own, and checks
# that its screenshot shows the test pattern the right way round.
set -euo pipefail
source_dir=$1 build_dir=$2
source "$source_dir/tools/imagemagick.sh"
shot="$build_dir/screenshots/demo-test.png"
rm -f "$shot"

env -u DISPLAY OXVIEW_DEMO_SHOT="$shot" OXVIEW_WINEPREFIX="$build_dir/demo-wineprefix" \
    bash "$source_dir/tools/demo.sh" || { echo "FAIL: the demo ended with $?, not 0"; exit 1; }
[ -s "$shot" ] || { echo "FAIL: no screenshot at $shot"; exit 1; }

pixels=$(mktemp)
trap 'rm -f "$pixels"' EXIT
im "$shot" -depth 8 txt:- | sed -n 's/^\([0-9]*\),\([0-9]*\):.*#\([0-9A-F]\{6\}\).*/\1 \2 \3/p' >"$pixels"

# The marker's red square is the leftmost pure red; it starts 4 pixels into
# the picture, so its first pixel gives the picture's place in the shot.
read -r rx ry < <(awk '$3 == "FF0000" { print $1, $2 }' "$pixels" | sort -n -k1,1 -k2,2 | head -n 1)
[ -n "${rx:-}" ] || { echo "FAIL: no red marker in the screenshot"; exit 1; }
x0=$((rx - 4)) y0=$((ry - 4))

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { # x y colour what: a pixel of the screenshot
    local got
    got=$(awk -v x="$1" -v y="$2" '$1 == x && $2 == y { print $3 }' "$pixels")
    [ "$got" = "$3" ] || fail "$4 at ($1,$2) of the screenshot: got ${got:-nothing}, expected $3"
}
# The 640x480 rows of the tests' table of pattern pixels, as "x y red green blue".
rows=$(sed -n 's/^ *{640, 480, \([0-9]*\), \([0-9]*\), "\([0-9]*\),\([0-9]*\),\([0-9]*\)"},$/\1 \2 \3 \4 \5/p' \
    "$source_dir/tests/support/test_pattern_pixels.h")
[ "$(echo "$rows" | wc -l)" -ge 10 ] || { echo "FAIL: no table of pattern pixels"; exit 1; }
while read -r x y red green blue; do
    [ "$y" -lt 470 ] || continue # the window's menu bar leaves the last rows out of view
    expect $((x0 + x)) $((y0 + y)) "$(printf %02X%02X%02X "$red" "$green" "$blue")" "pattern pixel ($x,$y)"
done <<<"$rows"
# The close button's cross, where this Wine puts the button (Wine 10's
# caption is taller than Wine 8's): its black pixels make both diagonals of a
# square and lie on one of them. Without Wine's Marlett font it is an "r".
source "$source_dir/tools/x-display.sh" # the probe's window is never shown
button=$(OXVIEW_WINEPREFIX="$build_dir/demo-wineprefix" "$build_dir/wine-run" \
    "$build_dir/tests/caption_button_probe.exe" $(im "$shot" -format '%w %h' info:) | tr -d '\r')
cross=$(awk -v box="$button" 'BEGIN { split(box, b, " ") }
    $3 == "000000" && $1 >= b[1] && $1 < b[3] && $2 >= b[2] && $2 < b[4] {
        black[$1 " " $2] = ++n
        if (n == 1 || $1 < x0) x0 = $1; if (n == 1 || $1 > x1) x1 = $1
        if (n == 1 || $2 < y0) y0 = $2; if (n == 1 || $2 > y1) y1 = $2
    }
    END {
        s = x1 - x0; ok = b[4] != "" && s >= 4 && s == y1 - y0
        for (d = 0; ok && d <= s; d++) ok = (x0 + d " " y0 + d) in black && (x1 - d " " y0 + d) in black
        for (p in black) {
            split(p, q, " "); a = q[1] - x0 - (q[2] - y0); c = x1 - (q[2] - y0) - q[1]
            if (a * a > 1 && c * c > 1) ok = 0
        }
        print ok ? "X" : n + 0 " black pixels from " x0 "," y0 " to " x1 "," y1
    }' "$pixels")
[ "$cross" = X ] || fail "no cross in the close button at '$button': $cross"
[ "$failures" -eq 0 ] || exit 1
