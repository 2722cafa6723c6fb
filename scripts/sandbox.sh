#!/usr/bin/env bash
# Throwaway Wine prefixes that cannot reach the host's files.
#
#   sandbox.sh create DIR VERSION        make (or reuse) a jailed prefix; VERSION winxp|win2k|win98
#   sandbox.sh install DIR KESTRUM_EXE   put the program at C:\Program Files\Kestrum\Kestrum.exe
#   sandbox.sh run DIR PROGRAM [ARGS]    run a Windows program there; passes on its exit code
#   sandbox.sh server-start DIR          keep one wineserver for the prefix
#   sandbox.sh server-stop DIR           end it
#   sandbox.sh unix-path DIR 'C:\path'   the Unix path of a C: path in the prefix
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=lib/wine-env.sh
source "$here/lib/wine-env.sh"

die() { echo "sandbox: $*" >&2; exit 1; }

# Everything the prefix maps outside itself goes: drive letters other than c:, serial and
# parallel ports, and the profile folders Wine links to the Unix home.
jail() {
    local dir=$1 entry
    for entry in "$dir"/dosdevices/*; do
        [ "$(basename "$entry")" = "c:" ] || rm -rf "$entry"
    done
    # Wine points the profile folders (Desktop, Documents, Templates...) at the Unix home with
    # absolute links; each becomes an empty folder of the prefix's own.
    local link
    while IFS= read -r -d '' link; do
        rm -f "$link"
        mkdir -p "$link"
    done < <(find "$dir/drive_c" -type l -lname '/*' -print0)
    local outside
    outside=$(find "$dir/drive_c" -type l -lname '/*' -print -quit)
    [ -z "$outside" ] || die "a link still leads out of the sandbox: $outside"
    [ ! -e "$dir/dosdevices/z:" ] || die "z: is still mapped in $dir"
}

set_version() {
    wine reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d "$2" /f </dev/null >/dev/null 2>&1 \
        || die "could not set the Windows version in $1"
}

create() {
    local dir=$1 version=$2
    case "$version" in winxp|win2k|win98) ;; *) die "unknown Windows version: $version" ;; esac
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    exec 9>"$dir.lock"
    flock 9
    kestrum_wine_env "$dir"
    if [ ! -f "$dir/.kestrum-sandbox" ]; then
        wineboot -i </dev/null >/dev/null 2>&1 || die "wineboot failed in $dir"
        wineserver -w
        jail "$dir"
        touch "$dir/.kestrum-sandbox"
    fi
    if [ "$(cat "$dir/.kestrum-version" 2>/dev/null)" != "$version" ]; then
        set_version "$dir" "$version"
        wineserver -w
        echo "$version" > "$dir/.kestrum-version"
    fi
    # Wine may map its devices again when it updates a prefix: check on every use.
    jail "$dir"
    # Wine's helper services inherit the pipes of the process that starts them; start them once
    # with none, so that a later captured run is not held open by them.
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
    jail "$dir"
    flock -u 9
}

install_exe() {
    local dir=$1 exe=$2
    [ -f "$exe" ] || die "no such executable: $exe"
    mkdir -p "$dir/drive_c/Program Files/Kestrum"
    cp "$exe" "$dir/drive_c/Program Files/Kestrum/Kestrum.exe"
}

unix_path() {
    local dir=$1 path=$2 rest
    case "$path" in
        [cC]:\\*) rest=${path:3} ;;
        *) die "only C: paths are inside the sandbox: $path" ;;
    esac
    printf '%s/drive_c/%s\n' "$dir" "${rest//\\//}"
}

[ $# -ge 2 ] || die "usage: sandbox.sh create|install|run|server-start|server-stop|unix-path DIR ..."
command=$1
dir=$2
shift 2
case "$command" in
    create)
        [ $# -eq 1 ] || die "usage: sandbox.sh create DIR VERSION"
        create "$dir" "$1" ;;
    install)
        [ $# -eq 1 ] || die "usage: sandbox.sh install DIR KESTRUM_EXE"
        install_exe "$dir" "$1" ;;
    run)
        [ -f "$dir/.kestrum-sandbox" ] || die "$dir is no sandbox prefix"
        [ ! -e "$dir/dosdevices/z:" ] || die "z: is mapped in $dir; refusing to run"
        kestrum_wine_env "$dir"
        cd "$dir/drive_c"
        set +e
        wine "$@" </dev/null
        status=$?
        set -e
        exit $status ;;
    server-start)
        kestrum_wine_env "$dir"
        wineserver -p ;;
    server-stop)
        kestrum_wine_env "$dir"
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true ;;
    unix-path)
        unix_path "$dir" "$1" ;;
    *) die "unknown command: $command" ;;
esac
