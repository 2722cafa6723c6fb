#!/usr/bin/env bash
# Purge speed: a start-up run with only temporary files on removes, from the sandbox's temporary
# folder, a tree of FILES files in FILES / 10 folders (10 in each), then one folder of FILES / 2
# files; the reference is Wine's own "cmd /c rd /s /q" on an identical tree or folder outside it,
# measured in the same round. Prints the median ratio of each case over the rounds (goals: at
# most 0.25 for the tree, 0.3 for the single folder).
#
#   bench/purge.sh [ROUNDS] [FILES]     (3 rounds and 20,000 files by default)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

rounds=${1:-3}
files=${2:-20000}
[[ $rounds =~ ^[1-9][0-9]*$ ]] || die "ROUNDS must be a positive number"
[[ $files =~ ^[1-9][0-9]*00$ ]] || die "FILES must be a positive multiple of 100"
tree_goal=0.25
folder_goal=0.3

block=$(head -c 1024 /dev/urandom | base64 -w0 | head -c 1024)

# FILES / 100 folders of 9 subfolders each, 10 files of 1 KiB in every folder.
make_tree() {
    local root=$1 a b f dir
    for ((a = 0; a < files / 100; a++)); do
        for ((b = 0; b < 10; b++)); do
            if ((b == 0)); then dir=$root/dir$a; else dir=$root/dir$a/sub$b; fi
            mkdir -p -- "$dir"
            for ((f = 0; f < 10; f++)); do
                printf '%s' "$block" >"$dir/file$f.dat"
            done
        done
    done
}
tree_entries=$((files + files / 10))

# FILES / 2 files of 1 KiB in one folder.
make_folder() {
    local root=$1 f
    mkdir -p -- "$root"
    for ((f = 0; f < files / 2; f++)); do
        printf '%s' "$block" >"$root/file$f.dat"
    done
}
folder_entries=$((files / 2))

count() { find "$1" -mindepth 1 2>/dev/null | wc -l; }

bench_prepare
bench_setting GeneralOptions 00000000000000000000
bench_setting DeleteOptions 00010000000000000000
temp=$(bench_temp)
reference=$drive_c/bench-reference

# Measures one round of a case: CASE MAKER ENTRIES. Appends the two times to the case's lists.
declare -A kestrum_times rd_times
measure() {
    local name=$1 maker=$2 entries=$3 start kestrum rd
    "$maker" "$temp/bench-$name"
    "$maker" "$reference/bench-$name"
    [[ $(count "$temp/bench-$name") -eq $entries ]] || die "the $name in the temporary folder is incomplete"
    sync

    start=$(now)
    bench_run 'C:\Program Files\Kestrum\Kestrum.exe' /startup || die "Kestrum.exe failed"
    kestrum=$(elapsed "$start" "$(now)")
    [[ ! -e $temp/bench-$name ]] || die "Kestrum left $(count "$temp/bench-$name") entries of the $name"

    start=$(now)
    bench_run cmd /c rd /s /q "C:\\bench-reference\\bench-$name" || die "rd failed"
    rd=$(elapsed "$start" "$(now)")
    [[ ! -e $reference/bench-$name ]] || die "rd left $(count "$reference/bench-$name") entries of the $name"

    printf 'round %d, %s: Kestrum.exe /startup %s s, cmd /c rd /s /q %s s, ratio %s\n' \
        "$round" "$name" "$kestrum" "$rd" "$(ratio "$kestrum" "$rd")"
    kestrum_times[$name]+=$kestrum$'\n'
    rd_times[$name]+=$rd$'\n'
}

# Prints a case's medians and its ratio against the goal: CASE DESCRIPTION GOAL.
summary() {
    local name=$1 description=$2 goal=$3 kestrum rd
    kestrum=$(printf '%s' "${kestrum_times[$name]}" | median)
    rd=$(printf '%s' "${rd_times[$name]}" | median)
    printf 'purge of %s: Kestrum %s s, rd %s s (medians of %d)\n' "$description" "$kestrum" "$rd" "$rounds"
    report_goal "$name ratio" "$(ratio "$kestrum" "$rd")" "$goal"
}

for ((round = 1; round <= rounds; round++)); do
    measure tree make_tree "$tree_entries"
    measure folder make_folder "$folder_entries"
done

summary tree "$files files in $((files / 10)) folders" "$tree_goal"
summary folder "$((files / 2)) files in one folder" "$folder_goal"
