# Sourced by the scripts that need an X screen: when DISPLAY is unset (or
# names a screen that does not answer) it
# starts a private 24-bit Xvfb (xvfb-run's default is 8 bits, which cannot
# show colours exactly) and stops it when the script ends.
if [ -n "${DISPLAY:-}" ] && ! xdpyinfo >/dev/null 2>&1; then
    echo "DISPLAY=$DISPLAY does not answer; using a private Xvfb screen" >&2
    unset DISPLAY
fi
if [ -z "${DISPLAY:-}" ]; then
    for number in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] || break
    done
    Xvfb ":$number" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
    OXVIEW_XVFB_PID=$!
    trap 'kill "$OXVIEW_XVFB_PID" 2>/dev/null || true' EXIT
    for _ in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$number" ] && break
        sleep 0.1
    done
    [ -e "/tmp/.X11-unix/X$number" ] || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$number"
fi
