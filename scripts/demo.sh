#!/usr/bin/env bash
# Kestrum's main job in a sandbox: a silent start-up clean of a Windows XP prefix seeded with
# traces, showing what was there before and what is left after.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/install-deps.sh

cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win32 --target Kestrum

prefix=build/demo/winxp
if [ -d "$prefix" ]; then
    scripts/sandbox.sh server-stop "$prefix"
    rm -rf "$prefix"
fi
scripts/sandbox.sh create "$prefix" winxp
scripts/sandbox.sh install "$prefix" build/win32/bin/Kestrum.exe
prefix=$(cd "$prefix" && pwd)

user=$(ls "$prefix/drive_c/users" | grep -v '^Public$' | head -n 1)
temp="$prefix/drive_c/users/$user/Temp"
docs="$prefix/drive_c/users/$user/Documents"
windows="$prefix/drive_c/windows"

# Traces a run may remove, and canaries that no run may touch.
mkdir -p "$temp/setup-1234" "$windows/temp/cache" "$docs"
echo trace > "$temp/setup-1234/installer.log"
echo trace > "$temp/download.part"
echo trace > "$windows/temp/cache/old.dat"
echo trace > "$windows/demo-1.tmp"
echo trace > "$windows/demo-2.tmp"
echo keep > "$docs/keep-me.txt"
echo keep > "$windows/keep-me.ini"

seeded=("$temp/setup-1234/installer.log" "$temp/download.part" "$windows/temp/cache/old.dat"
        "$windows/demo-1.tmp" "$windows/demo-2.tmp")
canaries=("$docs/keep-me.txt" "$windows/keep-me.ini")

show() {
    for f in "${seeded[@]}" "${canaries[@]}"; do
        if [ -e "$f" ]; then state=present; else state=gone; fi
        printf '  %-8s C:\\%s\n' "$state" "$(sed "s|^$prefix/drive_c/||; s|/|\\\\|g" <<<"$f")"
    done
}

echo "Before the run:"
show
echo
echo "Running: Kestrum.exe /startup (silent, in the sandbox)"
start=$(date +%s.%N)
xvfb-run -a scripts/sandbox.sh run "$prefix" 'C:\Program Files\Kestrum\Kestrum.exe' /startup
end=$(date +%s.%N)
awk -v a="$start" -v b="$end" 'BEGIN { printf "The run ended by itself after %.1f s.\n\n", b - a }'
echo "After the run:"
show
echo

removed=0
for f in "${seeded[@]}"; do [ -e "$f" ] || removed=$((removed + 1)); done
kept=0
for f in "${canaries[@]}"; do [ -e "$f" ] && kept=$((kept + 1)); done
echo "Removed $removed of ${#seeded[@]} traces; $kept of ${#canaries[@]} canaries remain."
scripts/sandbox.sh server-stop "$prefix"
[ "$kept" -eq "${#canaries[@]}" ]
