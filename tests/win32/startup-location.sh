#!/usr/bin/env bash
# Start-up state of an executable in the program folder and in a drive root: copies the probe
# into the sandbox prefix at both places and lets it compare what it works out with what a
# user of each place must get.
set -euo pipefail

scripts=$1
prefix=$2
probe=$3

"$scripts/sandbox.sh" create "$prefix" winxp

check() {
    local where=$1 command=$2 listPath=$3 entries=$4
    KESTRUM_EXPECT_STARTUP_COMMAND=$command KESTRUM_EXPECT_LIST_PATH=$listPath \
        KESTRUM_EXPECT_ENTRIES=$entries "$scripts/sandbox.sh" run "$prefix" "$where"
}

# Beside the installed program, in a folder with a blank and capitals; lines end in LF alone.
folder="$prefix/drive_c/Program Files/Kestrum"
mkdir -p "$folder"
cp "$probe" "$folder/KestrumProbe.exe"
printf 'c:\\temp\\\nc:\\x\\*.tmp\n\nc:\\after\n' > "$folder/Kestrum.lst"
check 'C:\Program Files\Kestrum\KestrumProbe.exe' \
    'c:\program files\kestrum\kestrumprobe.exe /startup' \
    'C:\Program Files\Kestrum\Kestrum.lst' \
    'c:\temp\|c:\x\*.tmp|'
rm -f "$folder/KestrumProbe.exe" "$folder/Kestrum.lst"

# In the root of a drive D: mapped to a folder inside the prefix; lines end in CR alone.
root="$prefix/drive_d"
mkdir -p "$root"
ln -sfn ../drive_d "$prefix/dosdevices/d:"
trap 'rm -f "$prefix/dosdevices/d:"; rm -rf "$root"' EXIT
cp "$probe" "$root/StartProbe.exe"
printf 'd:\\one.txt\rd:\\two\\\r' > "$root/Kestrum.lst"
check 'D:\StartProbe.exe' \
    'd:\\startprobe.exe /startup' \
    'D:\Kestrum.lst' \
    'd:\one.txt|d:\two\|'
