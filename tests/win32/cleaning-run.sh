#!/usr/bin/env bash
# A start-up clean in the sandbox of one Windows family: places a symbolic link into the
# sandbox's temporary folder (which only the host side can make), then runs the Windows test
# program that seeds the rest, runs Kestrum.exe and checks what went.
#
#   cleaning-run.sh SCRIPTS_DIR SANDBOX_ROOT VERSION TEST.exe KESTRUM.exe
set -euo pipefail

scripts=$1
root=$(realpath -m -s -- "$2")
version=$3
test_exe=$4
kestrum=$5
prefix=$root/$version
sandbox=$scripts/sandbox.sh

"$sandbox" create "$prefix" "$version"
"$sandbox" server-start "$prefix"

temp_win=$("$sandbox" run "$prefix" cmd /c echo '%TEMP%' 2>/dev/null | tr -d '\r')
[[ $temp_win == [cC]:\\* ]] || { echo "cleaning-run.sh: no %TEMP% in the sandbox (got '$temp_win')" >&2; exit 1; }
temp_win=${temp_win%\\}
temp=$("$sandbox" unix-path "$prefix" "$temp_win")
target=$prefix/drive_c/kestrum-link-target
link=$temp/kestrum-link
mkdir -p -- "$temp" "$target"
ln -sfn -- "$target" "$link"
trap 'rm -f -- "$link"; rm -rf -- "$target"' EXIT

KESTRUM_WINDOWS_VERSION=$version KESTRUM_EXE=$kestrum \
    KESTRUM_LINK="$temp_win\\kestrum-link" KESTRUM_LINK_TARGET='C:\kestrum-link-target' \
    "$scripts/wine-emulator.sh" "$root" "$test_exe"
