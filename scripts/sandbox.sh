#!/usr/bin/env bash
# Throwaway Wine prefixes that a cleaner can be let loose in: C: is the only drive and
# nothing under it leads back to the host's files.
#
# This keeps a program that goes by drive letters, known folders and the registry inside the
# prefix. It is no wall against one that means to get out: Wine still opens Unix paths spelt
# \\?\unix\..., whatever the drives are.
set -euo pipefail

script_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=lib/wine-env.sh
. "$script_dir/lib/wine-env.sh"

readonly marker=.kestrum-sandbox           # present once a prefix is complete and jailed
readonly settings_level=5                  # written into the marker: see apply_settings
readonly creating=.kestrum-sandbox-creating # present while a prefix is being built
readonly logname=kestrum-sandbox.log
readonly lock_wait=900
host_home=${HOME:-}

usage() {
    cat >&2 <<'EOF'
usage: sandbox.sh create DIR winxp|win2k|win98
       sandbox.sh install DIR PATH/TO/Kestrum.exe
       sandbox.sh run DIR PROGRAM [ARGS...]
       sandbox.sh server-start DIR
       sandbox.sh server-stop DIR
       sandbox.sh unix-path DIR 'C:\some\path'
       sandbox.sh remove DIR
EOF
    exit 2
}

die() {
    echo "sandbox.sh: $*" >&2
    exit 1
}

warn() {
    echo "sandbox.sh: warning: $*" >&2
}

# Holds an exclusive lock on FILE until this process exits.
take_lock() {
    local file=$1 fd
    exec {fd}>>"$file"
    flock -w "$lock_wait" "$fd" || die "timed out after ${lock_wait}s waiting for $file"
}

# Runs a command with nothing open but its standard handles. The servers and services Wine starts
# outlive the command and keep everything they inherit open: a lock held here, or a pipe of
# whoever called this script.
clean_fds() {
    (
        local fd
        for fd in /proc/self/fd/*; do
            fd=${fd##*/}
            if ((fd > 2)); then
                eval "exec $fd>&-"
            fi
        done
        exec "$@"
    )
}

# Wine for the scripts' own housekeeping. Its output goes to the prefix's log: Wine's helper
# services inherit the standard handles of whoever starts them, and a caller's pipe held open by
# them makes that caller wait for ever.
housekeeping_wine() {
    (
        # From a Unix folder outside its drives Wine complains and falls back to C:\windows.
        cd -- "$WINEPREFIX/drive_c" 2>/dev/null || true
        clean_fds wine "$@" </dev/null >>"$WINEPREFIX/$logname" 2>&1
    )
}

# Runs Wine's reg.exe for the housekeeping. On a machine's very first Wine start a reg call has
# been seen to end with a failure and no word of why, while the same call a moment later works;
# a failed call is logged with its status and tried again a second later. (Waiting for the
# server to end is no option: a persistent one serving the tests never does.)
housekeeping_reg() {
    local attempt rc
    for attempt in 1 2 3; do
        rc=0
        housekeeping_wine reg "$@" || rc=$?
        ((rc == 0)) && return 0
        echo "sandbox.sh: reg $* ended with status $rc (attempt $attempt)" >>"$WINEPREFIX/$logname"
        sleep 1
    done
    return "$rc"
}

show_log_tail() {
    if [[ -f $WINEPREFIX/$logname ]]; then
        echo "--- last lines of $WINEPREFIX/$logname:" >&2
        tail -n 20 "$WINEPREFIX/$logname" >&2
    fi
}

is_sandbox() {
    [[ -f $1/$marker ]]
}

require_sandbox() {
    is_sandbox "$1" || die "$1 is not a Kestrum sandbox (create it with: sandbox.sh create DIR VERSION)"
}

# Drive letters Wine keeps in dosdevices: "x:" for the mapping, "x::" for the device behind it.
is_drive_entry() {
    [[ $1 =~ ^[a-z]::?$ ]]
}

# Cuts every way out of the prefix that Wine sets up, and fails if one is left. MODE "all" removes
# every DOS device but c: (a new prefix); "outside" keeps those that lead into the prefix, such as
# a drive D: that a test maps to a folder of the prefix.
jail_prefix() {
    local dir=$1 mode=$2 entry name link target real_dir
    local devices=$dir/dosdevices
    real_dir=$(realpath -e -- "$dir")

    [[ -d $devices && ! -L $devices ]] || die "$devices is missing or not a real directory"
    [[ -L $devices/c: ]] || die "$devices/c: is missing"
    target=$(realpath -m -- "$devices/c:")
    [[ $target == "$real_dir/drive_c" ]] || die "c: leads to $target instead of the prefix's drive_c"

    shopt -s nullglob dotglob
    for entry in "$devices"/*; do
        name=${entry##*/}
        [[ $name == c: ]] && continue
        if [[ $name =~ ^(com|lpt)[0-9]+$ ]]; then
            # mountmgr links every host serial and parallel port again at each start, but it only
            # replaces symlinks: an empty directory keeps the name taken and the port out of reach.
            if [[ -L $entry || ! -d $entry ]]; then
                rm -f -- "$entry"
                mkdir -p -- "$entry"
            fi
            continue
        fi
        if [[ $mode == outside ]]; then
            if [[ ! -L $entry ]] || inside "$(realpath -m -- "$entry")" "$real_dir"; then
                continue
            fi
            warn "$entry led out of the sandbox, to $(readlink -- "$entry"); removed it"
        fi
        rm -rf -- "$entry"
    done
    shopt -u nullglob dotglob

    # Wine points the profile's shell folders (Desktop, Documents, ...) at the Unix home. Links
    # that stay inside the prefix are a test's own and are kept.
    if [[ -d $dir/drive_c/users ]]; then
        while IFS= read -r -d '' link; do
            inside "$(realpath -m -- "$link")" "$real_dir" && continue
            rm -f -- "$link"
            mkdir -p -- "$link"
        done < <(find "$dir/drive_c/users" -mindepth 2 -type l -print0)
    fi

    while IFS= read -r -d '' link; do
        target=$(realpath -m -- "$link")
        inside "$target" "$real_dir" || die "$link leads out of the sandbox, to $target"
    done < <(find "$dir" -type l -print0)
}

# True when the resolved path PATH lies in the folder ROOT.
inside() {
    [[ $1 == "$2" || $1 == "$2"/* ]]
}

# Fails if dosdevices holds a drive letter other than c:.
check_drives() {
    local dir=$1 entry name
    shopt -s nullglob
    for entry in "$dir"/dosdevices/*; do
        name=${entry##*/}
        if [[ $name != c: ]] && is_drive_entry "$name"; then
            shopt -u nullglob
            die "Wine brought back drive ${name%%:*}: in $dir/dosdevices (-> $(readlink -- "$entry" || echo '?'))"
        fi
    done
    shopt -u nullglob
}

# Prefix-wide settings and folders for Windows VERSION. Bump settings_level when they change, so
# that existing sandboxes get them.
apply_settings() {
    local version=$1
    local aedebug='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'
    # A crash starts winedbg, which under a display waits on a dialog nobody clicks, and which
    # sometimes ends the crashed program with exit code 0. A debugger that cannot be started
    # lets the program end at once with the exception's code, the way a test must see it.
    if ! housekeeping_reg add "$aedebug" /v Debugger /t REG_SZ /d 'kestrum-no-debugger.exe %ld %ld' /f ||
        ! housekeeping_reg add "$aedebug" /v Auto /t REG_SZ /d 1 /f; then
        show_log_tail
        die "could not turn off the crash debugger in $WINEPREFIX"
    fi
    # Windows that Wine draws itself, as Windows does. Left to a window manager that Xvfb does
    # not run, every hidden or destroyed window waits two seconds for it.
    if ! housekeeping_reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f; then
        show_log_tail
        die "could not make the windows unmanaged in $WINEPREFIX"
    fi
    # Web and mail addresses never reach the host's browser or mail client: a program inside
    # the prefix writes them down instead.
    local scheme
    for scheme in http https mailto; do
        if ! housekeeping_reg add "HKLM\\Software\\Classes\\$scheme\\shell\\open\\command" /ve /t REG_SZ \
            /d 'C:\windows\system32\cmd.exe /c echo %1>>C:\kestrum-started.txt' /f; then
            show_log_tail
            die "could not point $scheme addresses at the recorder in $WINEPREFIX"
        fi
    done
    add_profile_folders "$version"
}

# The folders in which programs written for the chosen Windows find the desktop, the Start menu
# and Quick Launch: under "Documents and Settings" on NT, in the Windows folder on 95/98/ME.
# Windows since Vista keeps junctions under those names; Wine has neither, so the shortcuts a
# user saves in the options window had nowhere to go.
add_profile_folders() {
    local version=$1 c=$WINEPREFIX/drive_c profile account base sub
    local -a bases=()
    if [[ $version == win98 ]]; then
        bases=("$c/windows")
    else
        for profile in "$c"/users/*/; do
            account=$(basename -- "$profile")
            [[ $account == Public ]] && continue
            bases+=("$c/Documents and Settings/$account")
        done
        mkdir -p -- "$c/Documents and Settings/All Users/Desktop"
    fi
    for base in "${bases[@]}"; do
        for sub in Desktop "Start Menu/Programs" "Application Data/Microsoft/Internet Explorer/Quick Launch"; do
            mkdir -p -- "$base/$sub"
        done
    done
}

set_windows_version() {
    local version=$1
    housekeeping_reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d "$version" /f ||
        { show_log_tail; die "could not set the Windows version to $version"; }
}

build_prefix() {
    local dir=$1 version=$2 started=$SECONDS
    echo "sandbox.sh: creating $version sandbox in $dir" >&2
    mkdir -p -- "$dir/home"
    : >"$dir/$creating"

    clean_fds wineboot -i </dev/null >>"$dir/$logname" 2>&1 || { show_log_tail; die "wineboot -i failed in $dir"; }
    clean_fds wineserver -w
    jail_prefix "$dir" all

    set_windows_version "$version"
    apply_settings "$version"
    clean_fds wineserver -w

    # Wine recreates z: only along with a missing dosdevices folder; check that this still holds
    # after a start of the finished prefix, from both sides.
    check_drives "$dir"
    if housekeeping_wine cmd /c dir "z:\\"; then
        die "z: is still reachable from inside $dir"
    fi
    clean_fds wineserver -w
    check_drives "$dir"
    jail_prefix "$dir" all

    rm -f -- "$dir/$creating"
    echo "$settings_level" >"$dir/$marker"
    echo "sandbox.sh: created $dir in $((SECONDS - started)) s" >&2
}

cmd_create() {
    [[ $# -eq 2 ]] || usage
    local dir version=$2
    dir=$(kestrum_abs_path "$1")
    case $version in
        winxp | win2k | win98) ;;
        *) die "unknown Windows version '$version' (winxp, win2k or win98)" ;;
    esac
    if [[ -n $host_home && $dir == "$(kestrum_abs_path "$host_home/.wine")" ]]; then
        die "refusing to use the host's own Wine prefix $dir"
    fi

    mkdir -p -- "$(dirname -- "$dir")"
    take_lock "$dir.lock"
    kestrum_wine_env "$dir"

    if [[ -e $dir && ! -e $dir/$marker ]]; then
        if [[ -e $dir/$creating ]]; then
            echo "sandbox.sh: $dir was left half-built; building it again" >&2
            clean_fds wineserver -k >/dev/null 2>&1 || true
            clean_fds wineserver -w
            delete_prefix "$dir"
        elif [[ -d $dir && -z $(ls -A -- "$dir") ]]; then
            rmdir -- "$dir"
        else
            die "$dir exists but is not a Kestrum sandbox; refusing to touch it"
        fi
    fi

    if [[ ! -e $dir ]]; then
        build_prefix "$dir" "$version"
    else
        jail_prefix "$dir" outside
        set_windows_version "$version"
        if [[ $(<"$dir/$marker") != "$settings_level" ]]; then
            apply_settings "$version"
            echo "$settings_level" >"$dir/$marker"
        fi
    fi

    # Start the helper services with no pipes attached, so that a persistent server keeps
    # services that hold no caller's output open.
    clean_fds wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

cmd_install() {
    [[ $# -eq 2 ]] || usage
    local dir source=$2 dest_dir dest tmp
    dir=$(kestrum_abs_path "$1")
    require_sandbox "$dir"
    [[ -f $source ]] || die "no such file: $source"
    dest_dir="$dir/drive_c/Program Files/Kestrum"
    dest="$dest_dir/Kestrum.exe"
    mkdir -p -- "$dest_dir"
    if [[ -f $dest ]] && cmp -s -- "$source" "$dest"; then
        return 0
    fi
    # Copy beside it and rename, so that a Kestrum.exe another test is running is never rewritten.
    tmp="$dest.$$.tmp"
    cp -- "$source" "$tmp"
    mv -f -- "$tmp" "$dest"
}

cmd_run() {
    [[ $# -ge 2 ]] || usage
    local dir program=$2 drive_c rc=0
    dir=$(kestrum_abs_path "$1")
    shift 2
    require_sandbox "$dir"
    kestrum_wine_env "$dir"
    (
        take_lock "$dir.lock"
        jail_prefix "$dir" outside
    )
    # Wine cannot map a working directory outside its drives; start in C:\ unless the caller
    # already stands inside the sandbox's C: drive.
    drive_c=$(realpath -e -- "$dir/drive_c")
    case $(pwd -P)/ in
        "$drive_c"/*) ;;
        *) cd -- "$drive_c" ;;
    esac
    clean_fds wine "$program" "$@" </dev/null || rc=$?
    return "$rc"
}

# Prints the pid of the wineserver that serves the prefix DIR, if one runs: the server keeps the
# prefix folder open.
server_pid() {
    local real_dir pid exe fd
    real_dir=$(realpath -e -- "$1") || return 1
    for exe in /proc/[0-9]*/exe; do
        [[ $(readlink -- "$exe" 2>/dev/null) == */wineserver* ]] || continue
        pid=${exe#/proc/}
        pid=${pid%/exe}
        for fd in /proc/"$pid"/fd/*; do
            if [[ $(readlink -- "$fd" 2>/dev/null) == "$real_dir" ]]; then
                echo "$pid"
                return 0
            fi
        done
    done
    return 1
}

# True when the server with that pid stays up after its last client: Debian's wrapper starts
# every server with -p0, so the last -p option on its command line decides.
is_persistent() {
    local arg persist=
    while IFS= read -r -d '' arg; do
        case $arg in
            -p) persist=forever ;;
            -p[0-9]*) persist=${arg#-p} ;;
        esac
    done 2>/dev/null <"/proc/$1/cmdline"
    [[ $persist == forever || ${persist:-0} -gt 0 ]]
}

cmd_server_start() {
    [[ $# -eq 1 ]] || usage
    local dir rc pid attempt
    dir=$(kestrum_abs_path "$1")
    require_sandbox "$dir"
    kestrum_wine_env "$dir"
    take_lock "$dir.server.lock"
    # A server that is already up is kept if it is persistent. A transient one (left by the last
    # create, or serving a run) cannot be made persistent: wait a little for it to end.
    for attempt in $(seq 50); do
        rc=0
        # The server forks into the background; it must not keep this caller's output open.
        clean_fds wineserver -p </dev/null >/dev/null 2>&1 || rc=$?
        [[ $rc -eq 0 ]] && break
        [[ $rc -eq 2 ]] || die "wineserver -p failed with exit code $rc for $dir"
        if pid=$(server_pid "$dir") && is_persistent "$pid"; then
            break
        fi
        if [[ $attempt -eq 50 ]]; then
            warn "a transient wineserver is still serving $dir; going on without a persistent one"
        fi
        sleep 0.1
    done
    clean_fds wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

cmd_server_stop() {
    [[ $# -eq 1 ]] || usage
    local dir
    dir=$(kestrum_abs_path "$1")
    # Nothing to stop where no sandbox was ever started.
    [[ -f $dir/$marker || -f $dir/$creating ]] || return 0
    kestrum_wine_env "$dir"
    clean_fds wineserver -k >/dev/null 2>&1 || true
    clean_fds wineserver -w >/dev/null 2>&1 || true
}

cmd_remove() {
    [[ $# -eq 1 ]] || usage
    local dir
    dir=$(kestrum_abs_path "$1")
    [[ -e $dir ]] || return 0
    [[ -f $dir/$marker || -f $dir/$creating ]] || die "$dir is not a Kestrum sandbox; refusing to delete it"
    take_lock "$dir.lock"
    kestrum_wine_env "$dir"
    clean_fds wineserver -k >/dev/null 2>&1 || true
    clean_fds wineserver -w >/dev/null 2>&1 || true
    delete_prefix "$dir"
    rm -f -- "$dir.server.lock"
}

# Deletes a prefix whose server has ended.
delete_prefix() {
    local dir=$1 name server_dir
    # Debian's Wine keeps the server's socket folder in /tmp/wine-XXXXXX and names it in the
    # prefix; it would outlive the prefix otherwise.
    if [[ -f $dir/wineserver ]]; then
        name=$(<"$dir/wineserver")
        server_dir=/tmp/$name/server-$(stat -c '%D' -- "$dir")-$(printf '%x' "$(stat -c '%i' -- "$dir")")
        if [[ $name =~ ^wine-[A-Za-z0-9]+$ && -d $server_dir ]]; then
            rm -rf -- "/tmp/$name"
        fi
    fi
    rm -rf -- "$dir"
}

cmd_unix_path() {
    [[ $# -eq 2 ]] || usage
    local dir path=$2 rest
    dir=$(kestrum_abs_path "$1")
    [[ $path =~ ^[cC]:(.*)$ ]] || die "not a path on C:, the sandbox's only drive: $path"
    rest=${BASH_REMATCH[1]//\\//}
    while [[ $rest == /* ]]; do rest=${rest#/}; done
    while [[ $rest == */ ]]; do rest=${rest%/}; done
    if [[ -n $rest ]]; then
        printf '%s/drive_c/%s\n' "$dir" "$rest"
    else
        printf '%s/drive_c\n' "$dir"
    fi
}

main() {
    [[ $# -ge 1 ]] || usage
    local command=$1
    shift
    case $command in
        create) cmd_create "$@" ;;
        install) cmd_install "$@" ;;
        run) cmd_run "$@" ;;
        server-start) cmd_server_start "$@" ;;
        server-stop) cmd_server_stop "$@" ;;
        unix-path) cmd_unix_path "$@" ;;
        remove) cmd_remove "$@" ;;
        -h | --help | help) usage ;;
        *)
            echo "sandbox.sh: unknown command '$command'" >&2
            usage
            ;;
    esac
}

main "$@"
