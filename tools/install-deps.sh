#!/usr/bin/env bash
# Installs what building and testing both programs needs on Debian, only when
# something is missing. Runs as root, or through sudo.
#   install-deps.sh          installs what this host lacks
#   install-deps.sh --list   prints the packages this host gets, one a line
# This is the one list of packages: the check of the build's programs
# (tests/package/package_sources_check.sh) reads it through --list.
#
# It knows Debian 12 "bookworm" and Debian 13 "trixie". The names are the
# same in both but for the native fuzz builds' clang, versioned in its
# package names: clang 14 in Debian 12, clang 19 in Debian 13.
set -euo pipefail

codename=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}") || codename=""
case $codename in
bookworm) clang=14 ;;
trixie) clang=19 ;;
*)
    # Said before anything is tried, so a failure below has its cause in view.
    echo "install-deps: this is not a Debian release this script knows (bookworm or trixie, not '${codename:-unknown}'): trying Debian 13's names" >&2
    clang=19
    ;;
esac

packages=(
    cmake ninja-build googletest
    # Both toolchains: the 32-bit product and the 64-bit build beside it.
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev
    wine wine64 fonts-wine xvfb xdotool x11-utils imagemagick
    # The native fuzz builds, for x86-64 and with -m32.
    "clang-$clang" "libclang-rt-$clang-dev" g++-multilib
    # Line coverage of the product (tools/coverage.sh).
    gcovr
)

# Whether the kernel starts an i386 program: a 93-byte static ELF that only
# exits. Some kernels run none (ia32_emulation=0, some sandboxes); there the
# 32-bit Wine is of no use, and its i386 packages are left out.
runs_i386() {
    local probe status=0
    probe=$(mktemp "${TMPDIR:-/tmp}/i386-probe.XXXXXX")
    printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0' >"$probe"
    printf '\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\135\0\0\0\135\0\0\0\5\0\0\0\0\20\0\0' >>"$probe"
    printf '\61\333\270\1\0\0\0\315\200' >>"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    return $status
}
if runs_i386; then
    packages+=(wine32:i386)
fi

if [ "${1:-}" = --list ]; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}" >&2
# wine32 is an i386 package: the architecture must be known before the update.
if [[ " ${missing[*]} " == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
# A mirror caught mid-sync fails one index and with it the whole update,
# although the others came; the install below still fails if a package it
# needs cannot be had.
$sudo apt-get update -qq || echo "install-deps: apt-get update failed in part; installing from the lists it has" >&2
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
