#!/usr/bin/env bash
# Folder tree speed: the File Selection dialog opens a folder of 2,000 sub-folders, each holding
# 2 sub-folders, until its tree shows it expanded with every child's children listed; the
# reference is Wine's own "cmd /c dir /s /b /ad" over the same folder (the same folder listings),
# started from the same program in the same sandbox. Both are timed there, the reference with its
# process start. Prints the median ratio over the rounds (goal: at most 3).
#
#   bench/tree.sh [ROUNDS]     (3 by default)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

rounds=${1:-3}
[[ $rounds =~ ^[1-9][0-9]*$ ]] || die "ROUNDS must be a positive number"
goal=3

bench_prepare
cmake --build "$bench_root/build/win32" --target kestrum-dialog-tryout >/dev/null
cp -- "$bench_root/build/win32/bin/kestrum-dialog-tryout.exe" "$drive_c/"

tree=$drive_c/bench-tree
rm -rf -- "$tree"
for ((a = 0; a < 2000; a++)); do
    mkdir -p -- "$tree/dir$a/one" "$tree/dir$a/two"
done

tree_times=()
dir_times=()
for ((round = 1; round <= rounds; round++)); do
    out=$(bench_run 'C:\kestrum-dialog-tryout.exe' --time 'C:\bench-tree' | tr -d '\r')
    [[ $out == *"expanded 1, 4000 folders preloaded"* ]] || die "the tree did not open the folder: $out"
    ms=${out#tree }
    ms=${ms%% ms*}
    dir=${out##*dir }
    dir=${dir%% ms*}
    printf 'round %d: tree %s ms, cmd /c dir /s /b /ad %s ms, ratio %s\n' \
        "$round" "$ms" "$dir" "$(ratio "$ms" "$dir")"
    tree_times+=("$ms")
    dir_times+=("$dir")
done

tree_ms=$(printf '%s\n' "${tree_times[@]}" | median)
dir_ms=$(printf '%s\n' "${dir_times[@]}" | median)
result=$(ratio "$tree_ms" "$dir_ms")
printf 'opening a folder of 2,000 folders with 2 each: tree %s ms, dir %s ms (medians of %d)\n' \
    "$tree_ms" "$dir_ms" "$rounds"
report_goal ratio "$result" "$goal"
