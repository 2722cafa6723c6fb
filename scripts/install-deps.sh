#!/usr/bin/env bash
# Installs the Debian 12 packages that building, sandboxing and testing Kestrum need. Quiet, and
# touches nothing, when all of them are there already.
set -euo pipefail

packages=(
    cmake ninja-build g++ git googletest
    g++-mingw-w64-x86-64-posix
    wine wine64
    xvfb xauth imagemagick
    # flock and mcookie (xvfb-run), realpath and timeout, cmp, find: used by the scripts
    util-linux coreutils diffutils findutils
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null || true)
    if [[ $status != ii* ]]; then
        missing+=("$package")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $EUID -ne 0 ]]; then
    echo "install-deps.sh: missing Debian packages: ${missing[*]}" >&2
    echo "install-deps.sh: run this script as root, or: sudo apt-get install ${missing[*]}" >&2
    exit 1
fi

echo "install-deps.sh: installing ${missing[*]}" >&2
apt-get update
# Wine runs the program and the tests without its recommended extras (libraries for sound, OpenGL,
# printing, and its own fonts: fontconfig's fonts stand in); none of the scripts needs them.
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
