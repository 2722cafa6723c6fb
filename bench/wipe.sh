#!/usr/bin/env bash
# Wipe speed and memory: Kestrum.exe wipes one 1 GiB file of random data listed in its list file
# (three passes, rename, delete); the reference is "shred -n 3" on a same-size file, measured in
# the same run. The one-second pause that follows every wiped file is taken off Kestrum's time.
# Prints the time ratio (goal: at most 1.5) and Kestrum.exe's peak resident memory (goal: at
# most 64 MiB).
#
#   bench/wipe.sh [MIB]     (1024 by default)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

size_mib=${1:-1024}
[[ $size_mib =~ ^[1-9][0-9]*$ ]] || die "MIB must be a positive number"
time_goal=1.5
memory_goal_kib=$((64 * 1024))
pause_seconds=1

bench_prepare
bench_setting GeneralOptions 00100000000000000000
bench_setting DeleteOptions 00000010000000000000

target=$drive_c/bench-wipe/victim.bin
reference=$bench_root/build/bench/shred-victim.bin
mkdir -p -- "${target%/*}"
head -c $((size_mib * 1024 * 1024)) /dev/urandom >"$target"
cp -- "$target" "$reference"
printf 'C:\\bench-wipe\\victim.bin\r\n' >"$drive_c/Program Files/Kestrum/Kestrum.lst"
sync

# Kestrum.exe's high-water resident set, read from /proc while it runs.
peak_file=$(mktemp)
watch_memory() {
    local peak=0 pid hwm
    while :; do
        for pid in $(pgrep -f 'Kestrum\.exe' || true); do
            hwm=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
            if [[ -n $hwm && $hwm -gt $peak ]]; then
                peak=$hwm
                echo "$peak" >"$peak_file"
            fi
        done
        sleep 0.05
    done
}
watch_memory &
watcher=$!
trap 'kill "$watcher" 2>/dev/null || true; rm -f -- "$peak_file" "$reference"; "$sandbox" server-stop "$prefix"' EXIT

start=$(now)
bench_run 'C:\Program Files\Kestrum\Kestrum.exe' /startup || die "Kestrum.exe failed"
kestrum_total=$(elapsed "$start" "$(now)")
kill "$watcher" 2>/dev/null || true
wait "$watcher" 2>/dev/null || true
[[ -z $(find "${target%/*}" -mindepth 1) ]] || die "the wiped file or its renamed form is still there"
kestrum=$(elapsed "$pause_seconds" "$kestrum_total")
peak_kib=$(cat "$peak_file" 2>/dev/null || echo 0)
[[ $peak_kib -gt 0 ]] || die "Kestrum.exe's memory could not be read"

start=$(now)
shred -n 3 -- "$reference"
shred=$(elapsed "$start" "$(now)")

result=$(ratio "$kestrum" "$shred")
printf 'wipe of %d MiB: Kestrum.exe %s s (%s s less the %d s pause), shred -n 3 %s s\n' \
    "$size_mib" "$kestrum_total" "$kestrum" "$pause_seconds" "$shred"
report_goal "time ratio" "$result" "$time_goal"
if ((peak_kib <= memory_goal_kib)); then verdict=met; else verdict="NOT met"; fi
printf 'peak memory of Kestrum.exe %d KiB = %s MiB (goal at most 64 MiB): %s\n' "$peak_kib" \
    "$(awk -v k="$peak_kib" 'BEGIN { printf "%.1f", k / 1024 }')" "$verdict"
