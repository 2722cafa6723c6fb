#!/usr/bin/env bash
# CTest's emulator for the cross build: runs a Windows test program inside a sandbox prefix.
#
#   wine-emulator.sh SANDBOX_ROOT path/to/test.exe [ARGS...]
#
# KESTRUM_WINDOWS_VERSION (winxp, win2k or win98; winxp by default) picks the prefix
# SANDBOX_ROOT/VERSION. KESTRUM_EXE, when set, is the Unix path of a built Kestrum.exe to install
# there first. The program's exit code is passed on.
set -euo pipefail

script_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
sandbox=$script_dir/sandbox.sh

if [[ $# -lt 2 ]]; then
    echo "usage: wine-emulator.sh SANDBOX_ROOT path/to/test.exe [ARGS...]" >&2
    exit 2
fi
root=$(realpath -m -s -- "$1")
exe=$2
shift 2
[[ -f $exe ]] || { echo "wine-emulator.sh: no such program: $exe" >&2; exit 1; }

version=${KESTRUM_WINDOWS_VERSION:-winxp}
dir=$root/$version

"$sandbox" create "$dir" "$version"
if [[ -n ${KESTRUM_EXE:-} ]]; then
    "$sandbox" install "$dir" "$KESTRUM_EXE"
fi
# One persistent server with its services started away from any pipe spares every test the
# start-up, and keeps CTest from waiting on services that inherited a test's output.
"$sandbox" server-start "$dir"

# Without a z: drive a Unix path means nothing to the program, so it runs from inside the prefix,
# from a folder of its own so that tests running side by side do not meet.
tests_dir=$dir/drive_c/tests
mkdir -p -- "$tests_dir"
# Folders of runs that were killed (a CTest timeout leaves no time for the trap below).
for stale in "$tests_dir"/*/; do
    stale=${stale%/}
    pid=${stale##*/}
    if [[ $pid =~ ^[0-9]+$ ]] && ! kill -0 "$pid" 2>/dev/null; then
        rm -rf -- "$stale"
    fi
done

run_dir=$tests_dir/$$
name=${exe##*/}
mkdir -p -- "$run_dir"
trap 'rm -rf -- "$run_dir"' EXIT
cp -- "$exe" "$run_dir/$name"
# The stand-in for programs the tests make Kestrum start goes along.
recorder=$(dirname -- "$exe")/kestrum-recorder.exe
if [[ -f $recorder ]]; then
    cp -- "$recorder" "$run_dir/"
fi
cd -- "$run_dir"

status=0
"$sandbox" run "$dir" "C:\\tests\\$$\\$name" "$@" || status=$?
if ((status != 0)); then
    # Named, so that a run that printed nothing at all still tells how it ended: GoogleTest's
    # failures end with 1, and Wine passes on the low byte of an exception code (5 for an access
    # violation).
    echo "wine-emulator.sh: $name ended with status $status after $SECONDS s" >&2
fi
exit "$status"
