#!/usr/bin/env bash
# Checks that every program the build, the scripts and the tests call comes
# from a package tools/install-deps.sh installs (or a dependency of one, or an
# Essential one), asking dpkg: a machine that has everything passes any build.
# And that this release's package index has every package the list names, so
# a name the release dropped fails here, not on a newcomer's first command.
# Usage: package_sources_check.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

mapfile -t listed < <(bash "$source_dir/tools/install-deps.sh" --list)

while read -r package; do
    fail "$package, which tools/install-deps.sh lists, is not in this release's package index"
done < <(apt-cache policy "${listed[@]}" 2>/dev/null | awk -v listed="${listed[*]}" '
    /^[^ ]/ { sub(":$", ""); name = $0 } /^  Candidate:/ && $2 != "(none)" { found[name] = 1 }
    END { n = split(listed, l, " "); for (i = 1; i <= n; i++) if (!(l[i] in found)) print l[i] }')

# Each compiler and tool the toolchain files name, for each toolchain.
programs=()
for toolchain in "$source_dir"/cmake/toolchain-*.cmake; do
    prefix=$(sed -n 's/^set(MINGW_PREFIX \(.*\))$/\1/p' "$toolchain")
    [ -n "$prefix" ] || { fail "$toolchain sets no MINGW_PREFIX"; continue; }
    for tool in $(grep -o '\${MINGW_PREFIX}-[a-z+-]*' "$source_dir/cmake/mingw-toolchain.cmake"); do
        programs+=("$prefix-${tool#\$\{MINGW_PREFIX\}-}")
    done
    programs+=("$prefix-objdump") # the file check reads the programs with it
done
[ ${#programs[@]} -ge 6 ] || fail "found only ${#programs[@]} toolchain programs: ${programs[*]}"
# What the scripts and tests call by name beyond the toolchains.
programs+=(cmake ctest cpack ninja wine wineserver /usr/lib/wine/wine64 Xvfb xdotool xdpyinfo
           convert import flock sha256sum od gcovr x86_64-w64-mingw32-gcov-posix)
# The native fuzz builds' clang, as this release's list names it.
for package in "${listed[@]}"; do
    [[ $package =~ ^clang-[0-9]+$ ]] && programs+=("$package" "clang++-${package#clang-}")
done
# The 32-bit loader only where the 32-bit Wine is installed at all.
[[ " ${listed[*]} " == *" wine32:i386 "* ]] && programs+=(/usr/lib/wine/wine)

# Where a program lives: the first match on PATH outside /usr/local, which a
# fresh machine lacks.
locate() {
    local name=$1 folder
    if [[ $name == /* ]]; then
        if [ -e "$name" ]; then echo "$name"; fi
        return 0
    fi
    IFS=: read -ra folders <<<"$PATH"
    for folder in "${folders[@]}" /usr/bin /bin /usr/sbin /sbin; do
        [[ $folder == /usr/local/* ]] && continue
        [ -x "$folder/$name" ] && { echo "$folder/$name"; return 0; }
    done
    return 0
}
# The names a file may be packaged under: through links, either side of /usr.
forms() {
    local file
    for file in "$1" "$(realpath "$1")"; do
        printf '%s\n' "$file" "${file/#\/usr\//\/}" "/usr$file"
    done
}
declare -A path_of
candidates=()
for program in "${programs[@]}"; do
    path_of[$program]=$(locate "$program")
    [ -n "${path_of[$program]}" ] || continue
    mapfile -t -O ${#candidates[@]} candidates < <(forms "${path_of[$program]}")
done
# One question to dpkg for them all: each costs it a read of every file list.
declare -A owner_of
while IFS= read -r line; do
    owner=${line%%: *}
    owner_of[${line#*: }]=${owner%%,*}
done < <(dpkg-query -S "${candidates[@]}" 2>/dev/null || true)
owner() {
    local candidate
    while read -r candidate; do
        [ -n "${owner_of[$candidate]:-}" ] && { echo "${owner_of[$candidate]}"; return 0; }
    done < <(forms "$1")
    return 0
}

installed=" $(apt-cache depends --recurse --installed --no-recommends --no-suggests \
    --no-conflicts --no-breaks --no-replaces --no-enhances "${listed[@]}" |
    grep -v '^ ' | tr '\n' ' ') "
for program in "${programs[@]}"; do
    path=${path_of[$program]}
    [ -n "$path" ] ||
        { fail "$program is not on this machine, and no package that tools/install-deps.sh installs gave it"; continue; }
    package=$(owner "$path")
    if [ -z "$package" ]; then
        fail "$program ($path) comes from no Debian package"
    elif [[ "$installed" != *" ${package%:amd64} "* && "$installed" != *" $package "* ]] &&
        [ "$(dpkg-query -W -f='${Essential}' "$package" 2>/dev/null)" != yes ]; then
        fail "$program ($path) comes from $package, which tools/install-deps.sh does not install"
    fi
done
echo "checked ${#programs[@]} programs against ${#listed[@]} listed packages"
[ "$failures" -eq 0 ]
