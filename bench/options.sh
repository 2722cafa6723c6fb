#!/usr/bin/env bash
# Options window start-up: Kestrum.exe started with no argument, its splash turned off, until its
# window " Kestrum Options" is visible; the reference is the smallest Win32 program, one that
# shows a message box, until that box is visible. Both are started and timed in the same sandbox
# by kestrum-window-timer.exe, from process start to a visible top-level window of the title,
# which then closes the window and waits for the program to end. Only the title is looked at, so
# whatever the window holds, the measure stays the same. Prints the median ratio over the rounds
# (goal: at most 2).
#
#   bench/options.sh [ROUNDS]     (7 by default)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

rounds=${1:-7}
[[ $rounds =~ ^[1-9][0-9]*$ ]] || die "ROUNDS must be a positive number"
goal=2

bench_prepare
cmake --build "$bench_root/build/win32" --target kestrum-window-timer kestrum-message-box >/dev/null
for helper in kestrum-window-timer kestrum-message-box; do
    cp -- "$bench_root/build/win32/bin/$helper.exe" "$drive_c/"
done
bench_setting ShowSplash 0
# Saved once before, the window opens unchanged and closes without asking whether to save.
bench_setting Defined Yes

# Milliseconds from the start of the program to its window titled TITLE.
time_window() {
    local title=$1 out ms
    shift
    out=$(bench_run 'C:\kestrum-window-timer.exe' "$title" "$@" | tr -d '\r') ||
        die "timing $1 failed: $out"
    ms=${out#shown }
    ms=${ms%% ms*}
    [[ $ms =~ ^[0-9]+(\.[0-9]+)?$ ]] || die "unexpected output from the timer: $out"
    echo "$ms"
}

options_times=()
box_times=()
for ((round = 1; round <= rounds; round++)); do
    options=$(time_window ' Kestrum Options' 'C:\Program Files\Kestrum\Kestrum.exe')
    box=$(time_window ' Kestrum Reference' 'C:\kestrum-message-box.exe')
    printf 'round %d: options window %s ms, message box %s ms, ratio %s\n' \
        "$round" "$options" "$box" "$(ratio "$options" "$box")"
    options_times+=("$options")
    box_times+=("$box")
done

options=$(printf '%s\n' "${options_times[@]}" | median)
box=$(printf '%s\n' "${box_times[@]}" | median)
result=$(ratio "$options" "$box")
printf 'start to a visible window: options window %s ms, message box %s ms (medians of %d)\n' \
    "$options" "$box" "$rounds"
report_goal ratio "$result" "$goal"
