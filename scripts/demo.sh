#!/usr/bin/env bash
# Kestrum's main job, shown in a sandbox: a silent start-up clean (Kestrum.exe /startup) of a
# fresh Windows XP prefix seeded with traces, with a listing of the places before and after, and
# what went and what stayed.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
sandbox=scripts/sandbox.sh
run_timeout=300

die() {
    echo "demo.sh: $*" >&2
    exit 1
}

scripts/install-deps.sh
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release
cmake --build build/win32 --target Kestrum
exe=build/win32/bin/Kestrum.exe
[[ -f $exe ]] || die "the build made no $exe"

prefix=$(realpath -m -- build/demo/winxp)
"$sandbox" remove "$prefix"
"$sandbox" create "$prefix" winxp
"$sandbox" install "$prefix" "$exe"
# Services started away from this script's output, so that piping the demo into a pager or tee
# does not wait on them; the trap leaves no Wine process behind.
"$sandbox" server-start "$prefix"
trap '"$sandbox" server-stop "$prefix"' EXIT

# A Windows variable as the program sees it, in the sandbox.
windows_var() {
    local value
    value=$("$sandbox" run "$prefix" cmd /c echo "%$1%" 2>/dev/null | tr -d '\r')
    [[ $value == [cC]:\\* ]] || die "could not read %$1% in the sandbox (got '$value')"
    printf '%s\n' "$value"
}

temp_win=$(windows_var TEMP)
profile_win=$(windows_var USERPROFILE)
windows_win=$(windows_var SystemRoot)
unix() { "$sandbox" unix-path "$prefix" "$1"; }
temp=$(unix "$temp_win")
docs=$(unix "$profile_win\\Documents")
windows=$(unix "$windows_win")
windows_temp=$windows/temp
drive_c=$prefix/drive_c

# Windows form of a Unix path inside the sandbox.
win_path() {
    local rest=${1#"$drive_c"}
    printf 'C:%s\n' "${rest//\//\\}"
}

# Traces: what a start-up clean of temporary files may take. Canaries: what it must leave.
seeded=()
canaries=()
seed() {
    local kind=$1 path=$2
    mkdir -p -- "$(dirname -- "$path")"
    printf 'Kestrum demo %s\n' "$kind" >"$path"
    # Cleaners commonly spare files younger than a day; these are three days old.
    touch -d '3 days ago' -- "$path"
    if [[ $kind == canary ]]; then
        canaries+=("$path")
    else
        seeded+=("$path")
    fi
}
seed trace "$temp/~DF7A21.tmp"
seed trace "$temp/installer-2231.log"
seed trace "$temp/setup-cache/package.cab"
seed trace "$temp/setup-cache/nested/readme.txt"
seed trace "$windows_temp/MSI4f2a.LOG"
seed trace "$windows_temp/update-cache/chunk-001.bin"
seed trace "$windows/kestrum-demo-1.tmp"
seed trace "$windows/kestrum-demo-2.tmp"
seed trace "$windows/~kestrum-demo.tmp"
seed canary "$docs/keep-me.txt"
seed canary "$windows/kestrum-demo-keep.ini"
seeded+=("$temp/setup-cache/nested" "$temp/setup-cache" "$windows_temp/update-cache")
touch -d '3 days ago' -- "$temp/setup-cache/nested" "$temp/setup-cache" "$windows_temp/update-cache"

# Everything in the places the demo looks at: all of both temporary folders, the *.tmp files of
# the Windows folder and the documents folder.
snapshot() {
    {
        find -H "$temp" "$windows_temp" "$docs" -mindepth 1
        find "$windows" -maxdepth 1 -type f \( -iname '*.tmp' -o -name 'kestrum-demo-*' \)
    } | LC_ALL=C sort
}

show() {
    local path
    while IFS= read -r path; do
        if [[ -d $path ]]; then
            printf '  %s\\\n' "$(win_path "$path")"
        else
            printf '  %s\n' "$(win_path "$path")"
        fi
    done
}

before=$(snapshot)
echo
echo "Before the run:"
show <<<"$before"

echo
echo "Running: C:\\Program Files\\Kestrum\\Kestrum.exe /startup"
started=$SECONDS
status=0
xvfb-run -a -s "-screen 0 1024x768x24" \
    timeout "$run_timeout" "$sandbox" run "$prefix" 'C:\Program Files\Kestrum\Kestrum.exe' /startup ||
    status=$?
elapsed=$((SECONDS - started))
if [[ $status -eq 124 ]]; then
    echo "Kestrum.exe had not ended after ${run_timeout} s and was stopped."
else
    echo "Kestrum.exe ended after ${elapsed} s with exit code $status."
fi

after=$(snapshot)
echo
echo "After the run:"
if [[ -n $after ]]; then
    show <<<"$after"
else
    echo "  (nothing)"
fi

echo
removed=0
echo "Seeded traces:"
for path in "${seeded[@]}"; do
    if [[ -e $path ]]; then
        printf '  still there  %s\n' "$(win_path "$path")"
    else
        printf '  removed      %s\n' "$(win_path "$path")"
        removed=$((removed + 1))
    fi
done
kept=0
echo "Canaries:"
for path in "${canaries[@]}"; do
    if [[ -e $path ]]; then
        printf '  still there  %s\n' "$(win_path "$path")"
        kept=$((kept + 1))
    else
        printf '  REMOVED      %s\n' "$(win_path "$path")"
    fi
done
for path in "$temp" "$windows_temp" "$docs"; do
    [[ -d $path ]] || printf '  REMOVED      %s\\ (the folder itself)\n' "$(win_path "$path")"
done

# Whatever changed that the demo did not put there itself.
others=$(LC_ALL=C comm -3 <(printf '%s\n' "$before") <(printf '%s\n' "$after") |
    grep -v -x -F -f <(printf '%s\n' "${seeded[@]}" "${canaries[@]}" | sed 's/^/\t/; p; s/^\t//') ||
    true)
if [[ -n $others ]]; then
    echo "Other changes (- gone, + new):"
    while IFS= read -r line; do
        if [[ $line == $'\t'* ]]; then
            printf '  +  %s\n' "$(win_path "${line#$'\t'}")"
        else
            printf '  -  %s\n' "$(win_path "$line")"
        fi
    done <<<"$others"
fi

echo
if [[ $removed -eq 0 ]]; then
    echo "Nothing seeded was removed."
else
    echo "Removed $removed of ${#seeded[@]} seeded traces."
fi
echo "$kept of ${#canaries[@]} canaries remain."

[[ $kept -eq ${#canaries[@]} ]] || die "Kestrum removed a file it must leave alone"
[[ $status -eq 0 ]] || die "Kestrum.exe did not end normally (exit code $status)"
