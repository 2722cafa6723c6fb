#!/usr/bin/env bash
# Purge speed: a start-up run with only temporary files on removes a tree of 20,000 files in
# 2,000 folders from the sandbox's temporary folder; the reference is Wine's own
# "cmd /c rd /s /q" on an identical tree outside it, measured in the same run. Prints the median
# ratio over the rounds (goal: at most 1.5).
#
#   bench/purge.sh [ROUNDS]     (3 by default)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

rounds=${1:-3}
[[ $rounds =~ ^[1-9][0-9]*$ ]] || die "ROUNDS must be a positive number"
goal=1.5

# 200 folders of 9 subfolders each (2,000 folders), 10 files of 1 KiB in every folder.
make_tree() {
    local root=$1 a b f dir
    local block
    block=$(head -c 1024 /dev/urandom | base64 -w0 | head -c 1024)
    for ((a = 0; a < 200; a++)); do
        for ((b = 0; b < 10; b++)); do
            if ((b == 0)); then dir=$root/dir$a; else dir=$root/dir$a/sub$b; fi
            mkdir -p -- "$dir"
            for ((f = 0; f < 10; f++)); do
                printf '%s' "$block" >"$dir/file$f.dat"
            done
        done
    done
}

count() { find "$1" -mindepth 1 2>/dev/null | wc -l; }

bench_prepare
bench_setting GeneralOptions 00000000000000000000
bench_setting DeleteOptions 00010000000000000000
temp=$(bench_temp)
reference=$drive_c/bench-reference

kestrum_times=()
rd_times=()
for ((round = 1; round <= rounds; round++)); do
    make_tree "$temp/bench-tree"
    make_tree "$reference/bench-tree"
    [[ $(count "$temp/bench-tree") -eq 22000 ]] || die "the tree in the temporary folder is incomplete"
    sync

    start=$(now)
    bench_run 'C:\Program Files\Kestrum\Kestrum.exe' /startup || die "Kestrum.exe failed"
    kestrum=$(elapsed "$start" "$(now)")
    [[ ! -e $temp/bench-tree ]] || die "Kestrum left $(count "$temp/bench-tree") entries of the tree"

    start=$(now)
    bench_run cmd /c rd /s /q 'C:\bench-reference\bench-tree' || die "rd failed"
    rd=$(elapsed "$start" "$(now)")
    [[ ! -e $reference/bench-tree ]] || die "rd left $(count "$reference/bench-tree") entries of the tree"

    printf 'round %d: Kestrum.exe /startup %s s, cmd /c rd /s /q %s s, ratio %s\n' \
        "$round" "$kestrum" "$rd" "$(ratio "$kestrum" "$rd")"
    kestrum_times+=("$kestrum")
    rd_times+=("$rd")
done

kestrum=$(printf '%s\n' "${kestrum_times[@]}" | median)
rd=$(printf '%s\n' "${rd_times[@]}" | median)
result=$(ratio "$kestrum" "$rd")
printf 'purge of 20,000 files in 2,000 folders: Kestrum %s s, rd %s s (medians of %d)\n' \
    "$kestrum" "$rd" "$rounds"
report_goal ratio "$result" "$goal"
