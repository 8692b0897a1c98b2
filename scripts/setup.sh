#!/usr/bin/env bash
# Installs everything Kelvaro needs to build, run and test on a Debian machine.
# Safe to run again: it only installs what is missing.
set -euo pipefail

need_root() {
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then sudo "$@"; else
            echo "setup: '$*' needs root" >&2; exit 1; fi
    else
        "$@"
    fi
}

packages=(
    cmake make g++ googletest
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686
    wine wine32 wine64
    xvfb xauth x11-utils xdotool imagemagick
    fonts-wqy-microhei locales zip unzip
)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    need_root dpkg --add-architecture i386
    updated=0
fi
for p in "${packages[@]}"; do
    arch_p=$p
    [ "$p" = wine32 ] && arch_p=wine32:i386
    if ! dpkg-query -W -f='${Status}' "$arch_p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$arch_p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    need_root apt-get update -q
    need_root apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine's ANSI code page follows the Unix locale: zh_CN.UTF-8 gives code page 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    need_root sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | need_root tee -a /etc/locale.gen >/dev/null
    need_root locale-gen
fi
echo "setup: done"
