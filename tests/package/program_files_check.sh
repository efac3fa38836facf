#!/usr/bin/env bash
# Checks both programs as files, without running them (so on any host): the
# machine type, system DLLs only, and the resources Windows reads.
# Usage: program_files_check.sh OBJDUMP WINDRES ARCH(i386|x86-64) VERSION BUILD_DIR
set -euo pipefail
objdump=$1 windres=$2 arch=$3 version=$4 build=$5
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# What Windows itself ships; anything else would have to travel in the zip.
system_dlls=" advapi32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll
  shell32.dll shlwapi.dll user32.dll version.dll windowscodecs.dll winmm.dll "
magic=$([ "$arch" = i386 ] && echo "PE32" || echo "PE32+")
numeric_version="${version//./, }, 0"
icon_images="020x020@32 020x020@4 020x020@8 040x040@32 040x040@4 040x040@8 060x060@32 060x060@4 060x060@8"

for program in oxview oxcapture; do
    file="$build/$program.exe"
    [ -f "$file" ] || { fail "$file is missing"; continue; }
    header=$("$objdump" -p "$file")
    format=$(sed -n 's/.*file format //p' <<<"$header" | head -n 1)
    [ "$format" = "pei-$arch" ] || fail "$program: file format '$format', expected pei-$arch"
    got_magic=$(awk '$1 == "Magic" { print $3 }' <<<"$header")
    [ "$got_magic" = "($magic)" ] || fail "$program: optional header $got_magic, expected ($magic)"
    # A 32-bit oxcapture gets 4 GB for a decoder only so; a 64-bit program is so by default.
    [ "$program" != oxcapture ] || grep -q "large address aware" <<<"$header" ||
        fail "oxcapture: not large-address aware"
    while read -r dll; do
        [[ "$system_dlls" == *" ${dll,,} "* ]] || fail "$program imports $dll, not a Windows system DLL"
    done < <(sed -n 's/^\s*DLL Name: //p' <<<"$header")

    resources=$("$windres" -J coff -O rc -i "$file" | grep -v '^  0x')
    expect() { # what, then a fixed text the resources must hold
        grep -qF -- "$2" <<<"$resources" || fail "$program: $1: no '$2' in its resources"
    }
    expect "version resource" "FILEVERSION $numeric_version"
    expect "product version" "PRODUCTVERSION $numeric_version"
    expect "file version string" "VALUE \"FileVersion\", \"$version\""
    expect "product version string" "VALUE \"ProductVersion\", \"$version\""
    expect "product name" 'VALUE "ProductName", "oxview"'
    expect "file name" "VALUE \"OriginalFilename\", \"$program.exe\""
    expect "manifest" "1 24 /* RT_MANIFEST */"
    expect "manifest's execution level" 'level=""asInvoker""'
    expect "Windows 7 in the manifest" "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"
    expect "Windows 10 and 11 in the manifest" "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"
    # Only oxcapture is DPI aware: it reads the screen in real pixels.
    dpi=$(grep -o '<dpiAware.*</dpiAware[a-z]*>' <<<"$resources" | tr -d '"' | xargs || true)
    want=$([ "$program" = oxview ] || echo "<dpiAware xmlns=http://schemas.microsoft.com/SMI/2005/WindowsSettings>true/pm</dpiAware> <dpiAwareness xmlns=http://schemas.microsoft.com/SMI/2016/WindowsSettings>PerMonitorV2, PerMonitor</dpiAwareness>")
    [ "$dpi" = "$want" ] || fail "$program: DPI awareness '$dpi', expected '$want'"

    # Both carry the viewer's icon group: nine images, 48, 32 and 16 pixels
    # (octal 060, 040, 020) at 4, 8 and 32 bits each.
    group=$(sed -n '/^101 14 \/\* RT_GROUP_ICON \*\//,/^END/p' <<<"$resources")
    images=$(sed -n 's/^ *"\\\([0-7]*\)\\\([0-7]*\)\\[0-7\\]*", 1, \([0-9]*\),.*/\1x\2@\3/p' \
        <<<"$group" | LC_ALL=C sort | xargs)
    [ "$images" = "$icon_images" ] || fail "$program: icon images '$images', expected '$icon_images'"
    viewer_group=${viewer_group:-$group}
    [ "$group" = "$viewer_group" ] || fail "$program: icon group 101 is not the viewer's"
    if [ "$program" = oxview ]; then # it loads its menu and accelerator table by number
        for text in "141 MENU" 'MENUITEM "Save", 40014' 'MENUITEM "E&xit\t    ESC", 40006' \
                    "113 ACCELERATORS" "27, 40006, VIRTKEY"; do expect "menu" "$text"; done
    fi
done
[ "$failures" -eq 0 ] || exit 1
echo "oxview.exe and oxcapture.exe: $magic for $arch, system DLLs only, menu 141, accelerators 113, icon group 101, version $version, manifest (oxcapture per-monitor DPI aware)"
