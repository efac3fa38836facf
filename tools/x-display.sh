# Sourced by the scripts that need an X screen: when DISPLAY is unset (or
# names a screen that does not answer) it starts a private 24-bit Xvfb
# (xvfb-run's default is 8 bits, which cannot show colours exactly) and stops
# it when the script ends. Xvfb picks a free display itself and names it on
# -displayfd, so two scripts starting at once cannot take the same one.
if [ -n "${DISPLAY:-}" ] && ! xdpyinfo >/dev/null 2>&1; then
    echo "DISPLAY=$DISPLAY does not answer; using a private Xvfb screen" >&2
    unset DISPLAY
fi
if [ -z "${DISPLAY:-}" ]; then
    OXVIEW_XVFB_NAME=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp 3>"$OXVIEW_XVFB_NAME" >/dev/null 2>&1 &
    OXVIEW_XVFB_PID=$!
    trap 'kill "$OXVIEW_XVFB_PID" 2>/dev/null || true; rm -f "$OXVIEW_XVFB_NAME"' EXIT
    # The number is written once the screen accepts clients.
    for _ in $(seq 1 300); do
        [ -s "$OXVIEW_XVFB_NAME" ] && break
        kill -0 "$OXVIEW_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    OXVIEW_XVFB_NUMBER=$(tr -dc 0-9 <"$OXVIEW_XVFB_NAME")
    [ -n "$OXVIEW_XVFB_NUMBER" ] || { echo "no X screen: DISPLAY is not set and Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$OXVIEW_XVFB_NUMBER"
fi
