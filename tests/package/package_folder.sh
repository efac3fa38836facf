#!/usr/bin/env bash
# The package as a user gets it. "unpack" checks the zip against its .sha256
# file in a fresh folder outside the build tree and unpacks it there, the
# folder's Windows path going to RECORD for the road test; "remove" deletes it.
set -euo pipefail
action=$1 build_dir=$2 package=$3 record=$4

remove() {
    [ -f "$record" ] || return 0
    local folder
    folder=$(sed -n 's/^# unix: //p' "$record")
    case $folder in
    /tmp/oxview-package.*) rm -rf "$folder" ;;
    esac
    rm -f "$record"
}

case $action in
remove) remove ;;
unpack)
    remove # a folder an interrupted run left behind
    sum="$package.zip.sha256"
    # One line, hash and bare file name, as sha256sum writes it: a path in it
    # would point at the build tree, not at the file beside it.
    if ! grep -qxE "[0-9a-f]{64}  $package\.zip" "$build_dir/$sum" ||
        [ "$(wc -l <"$build_dir/$sum")" -ne 1 ]; then
        echo "FAIL: $sum is not one line '<sha256>  $package.zip':" >&2
        cat "$build_dir/$sum" >&2 || true
        exit 1
    fi
    folder=$(mktemp -d /tmp/oxview-package.XXXXXX)
    # Recorded at once, so that "remove" finds it even when a check fails.
    windows="Z:$folder/$package"
    printf '%s\r\n# unix: %s\n' "${windows//\//\\}" "$folder" >"$record"
    cp "$build_dir/$package.zip" "$build_dir/$sum" "$folder/"
    cd "$folder"
    sha256sum -c --strict "$sum"
    cmake -E tar xf "$package.zip"
    expected=$(printf '%s\n' "$package/README.txt" "$package/oxcapture.exe" "$package/oxview.exe")
    found=$(find "$package" -mindepth 1 | LC_ALL=C sort)
    if [ "$found" != "$expected" ]; then
        printf 'FAIL: the zip holds\n%s\nexpected\n%s\n' "$found" "$expected" >&2
        exit 1
    fi
    echo "unpacked into $folder/$package"
    ;;
*) echo "usage: $0 unpack|remove BUILD_DIR PACKAGE RECORD" >&2; exit 2 ;;
esac
