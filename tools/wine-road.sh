# Sourced by the README's commands: decides which build this host can run
# and says so in one line. Sets OXVIEW_ROAD to "win32" when the host runs
# 32-bit programs (the product's own build), else "win64". OXVIEW_ARCH=win64
# takes the 64-bit road on any host; OXVIEW_ARCH=win32 insists on the 32-bit
# one. Asks by running each Wine loader, not by reading the kernel's version:
# a kernel may be built or booted without 32-bit support.
oxview_loader_error() { # loader: empty when it starts, else its error in one line
    local output status=0
    [ -e "$1" ] || { echo "not installed"; return 0; }
    output=$("$1" --version 2>&1 </dev/null) || status=$?
    [ "$status" -eq 0 ] && return 0
    echo "${output:-exit code $status}" | tail -n 1 | sed "s|^.*$1: ||"
}

oxview_wine32_error=$(oxview_loader_error /usr/lib/wine/wine)
case "${OXVIEW_ARCH:-}" in
"" | win32)
    if [ -z "$oxview_wine32_error" ]; then
        OXVIEW_ROAD=win32
    elif [ -n "${OXVIEW_ARCH:-}" ]; then
        echo "$OXVIEW_TOOL: OXVIEW_ARCH=win32, but the 32-bit Wine loader does not start here ($oxview_wine32_error)" >&2
        exit 1
    else
        OXVIEW_ROAD=win64
        oxview_why="this host runs no 32-bit programs (/usr/lib/wine/wine: $oxview_wine32_error)"
    fi
    ;;
win64)
    OXVIEW_ROAD=win64
    oxview_why="OXVIEW_ARCH=win64 asks for it"
    ;;
*)
    echo "$OXVIEW_TOOL: OXVIEW_ARCH is '$OXVIEW_ARCH'; it takes win32 or win64" >&2
    exit 2
    ;;
esac
if [ "$OXVIEW_ROAD" = win64 ]; then
    oxview_wine64_error=$(oxview_loader_error /usr/lib/wine/wine64)
    if [ -n "$oxview_wine64_error" ]; then
        echo "$OXVIEW_TOOL: neither build can run here: the 32-bit Wine loader: ${oxview_wine32_error:-not asked}; the 64-bit one: $oxview_wine64_error" >&2
        exit 1
    fi
fi
export OXVIEW_ROAD
