#!/usr/bin/env bash
# Wipe speed and memory: Kestrum.exe wipes one file of random data listed in its list file (three
# passes, rename, delete); the reference is "shred -n 3" on a same-size file, measured in the same
# run. The one-second pause that follows every wiped file is taken off Kestrum's time. For each
# size prints the time ratio (goal: at most 0.7 from 1 GiB up, at most 0.9 below) and how far
# Kestrum.exe's peak resident memory rises above that of a run of the same prefix that cleans
# nothing (goal: at most 8 MiB).
#
#   bench/wipe.sh [MIB...]     (1024 and 256 by default)
#
# KESTRUM_EXE=path measures that Kestrum.exe instead of the one built here (all benchmarks).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

sizes=("$@")
[[ ${#sizes[@]} -gt 0 ]] || sizes=(1024 256)
for size_mib in "${sizes[@]}"; do
    [[ $size_mib =~ ^[1-9][0-9]*$ ]] || die "MIB must be a positive number"
done
memory_goal_kib=$((8 * 1024))
pause_seconds=1

bench_prepare
bench_setting GeneralOptions 00100000000000000000
bench_setting DeleteOptions 00000010000000000000

target=$drive_c/bench-wipe/victim.bin
reference=$bench_root/build/bench/shred-victim.bin
list=$drive_c/Program\ Files/Kestrum/Kestrum.lst
mkdir -p -- "${target%/*}"
trap 'rm -f -- "$reference"; "$sandbox" server-stop "$prefix"' EXIT

# Sets `found` to the Kestrum.exe process below process $1, if there is one yet. Shell built-ins
# alone, so that a run of a fraction of a second is found in time: every Kestrum.exe on the
# machine is a candidate, and the one whose parents lead to $1 is taken.
find_kestrum() {
    local comm name pid up stat ppid
    found=
    for comm in /proc/[0-9]*/comm; do
        read -r name 2>/dev/null <"$comm" || continue
        [[ $name == Kestrum.exe ]] || continue
        pid=${comm#/proc/}
        pid=${pid%/comm}
        up=$pid
        while [[ $up -gt 1 ]]; do
            if [[ $up == "$1" ]]; then
                found=$pid
                return
            fi
            read -r stat 2>/dev/null <"/proc/$up/stat" || break
            read -r _ ppid _ <<<"${stat##*) }"
            up=$ppid
        done
    done
}

# Runs Kestrum.exe /startup and prints its wall-clock seconds and then its high-water resident set
# in KiB, read from /proc every 10 ms while it runs. Only the Kestrum.exe this run started is
# followed, never another one on the machine.
run_kestrum() {
    local started run peak=0 found='' key value rc=0
    started=$(now)
    bench_run 'C:\Program Files\Kestrum\Kestrum.exe' /startup &
    run=$!
    while [[ -z $found ]] && kill -0 "$run" 2>/dev/null; do
        find_kestrum "$run"
        [[ -n $found ]] || sleep 0.01
    done
    while [[ -n $found && -r /proc/$found/status ]]; do
        while read -r key value _; do
            if [[ $key == VmHWM: ]]; then
                ((value <= peak)) || peak=$value
                break
            fi
        done 2>/dev/null <"/proc/$found/status" || true
        sleep 0.01
    done
    wait "$run" || rc=$?
    [[ $rc -eq 0 ]] || die "Kestrum.exe failed (exit code $rc)"
    [[ $peak -gt 0 ]] || die "Kestrum.exe's memory could not be read"
    echo "$(elapsed "$started" "$(now)") $peak"
}

# The same start with an empty list: everything but the wipe. Its peak varies by a MiB or two
# from run to run, so the median of three is taken.
: >"$list"
idle_runs=()
for _ in 1 2 3; do
    idle_runs+=("$(run_kestrum)")
done
idle_seconds=$(printf '%s\n' "${idle_runs[@]}" | awk '{ print $1 }' | median)
idle_kib=$(printf '%s\n' "${idle_runs[@]}" | awk '{ print $2 }' | median)
idle_kib=${idle_kib%.*}
printf 'idle run (nothing to clean): %s s, peak memory %d KiB (medians of three)\n' \
    "$idle_seconds" "$idle_kib"

for size_mib in "${sizes[@]}"; do
    time_goal=0.9
    ((size_mib < 1024)) || time_goal=0.7
    head -c $((size_mib * 1024 * 1024)) /dev/urandom >"$target"
    cp -- "$target" "$reference"
    printf 'C:\\bench-wipe\\victim.bin\r\n' >"$list"
    sync

    measured=$(run_kestrum)
    read -r kestrum_total peak_kib <<<"$measured"
    [[ -z $(find "${target%/*}" -mindepth 1) ]] || die "the wiped file or its renamed form is still there"
    kestrum=$(elapsed "$pause_seconds" "$kestrum_total")

    start=$(now)
    shred -n 3 -- "$reference"
    shred=$(elapsed "$start" "$(now)")
    rm -f -- "$reference"

    printf 'wipe of %d MiB: Kestrum.exe %s s (%s s less the %d s pause), shred -n 3 %s s\n' \
        "$size_mib" "$kestrum_total" "$kestrum" "$pause_seconds" "$shred"
    report_goal "time ratio" "$(ratio "$kestrum" "$shred")" "$time_goal"
    added_kib=$((peak_kib - idle_kib))
    if ((added_kib <= memory_goal_kib)); then verdict=met; else verdict="NOT met"; fi
    printf 'peak memory of Kestrum.exe %d KiB, %d KiB above the idle run (goal at most 8 MiB): %s\n' \
        "$peak_kib" "$added_kib" "$verdict"
done
