#!/usr/bin/env bash
# Installs the Debian packages the build, the sandbox and the tests need. Does nothing when all
# are there already.
set -euo pipefail

packages=(cmake ninja-build g++ git googletest g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth
          imagemagick util-linux procps)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages: ${missing[*]}; run this script as root" >&2
    exit 1
fi
echo "install-deps: installing ${missing[*]}"
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
