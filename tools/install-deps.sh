#!/usr/bin/env bash
# Installs what building and running the viewer needs on Debian 12, only
# when something is missing. Runs as root, or through sudo.
set -euo pipefail

packages=(cmake ninja-build g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
          binutils-mingw-w64-i686 mingw-w64-i686-dev googletest wine wine32:i386 wine64
          fonts-wine xvfb xdotool x11-utils imagemagick clang-14 libclang-rt-14-dev
          g++-multilib)

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
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
