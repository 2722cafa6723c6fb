#!/usr/bin/env bash
# CTest's emulator for the cross build: runs a Win32 test program inside a sandbox prefix.
#
#   wine-emulator.sh SANDBOX_ROOT path/to/test.exe [ARGS...]
#
# KESTRUM_WINDOWS_VERSION (winxp, win2k, win98; winxp by default) picks the prefix
# SANDBOX_ROOT/VERSION. KESTRUM_EXE, when set, is installed there first as the program.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$1
exe=$2
shift 2
version=${KESTRUM_WINDOWS_VERSION:-winxp}
dir="$root/$version"

"$here/sandbox.sh" create "$dir" "$version"
if [ -n "${KESTRUM_EXE:-}" ]; then
    "$here/sandbox.sh" install "$dir" "$KESTRUM_EXE"
fi
# shellcheck source=lib/wine-env.sh
source "$here/lib/wine-env.sh"
kestrum_wine_env "$dir"
# One server for the whole run spares every Wine process its start.
wineserver -p 2>/dev/null || true

# Without a z: drive a Unix path means nothing to the program: it runs from inside the prefix,
# from a folder of its own so that concurrent tests do not meet.
run="tests/$$"
mkdir -p "$dir/drive_c/$run"
trap 'rm -rf "$dir/drive_c/$run"' EXIT
name=$(basename "$exe")
cp "$exe" "$dir/drive_c/$run/$name"
cd "$dir/drive_c/$run"
set +e
wine "C:\\${run//\//\\}\\$name" "$@" </dev/null
status=$?
set -e
exit $status
