# shellcheck shell=bash
# Environment shared by everything that starts Wine in a Kestrum sandbox prefix.
# Source this file, then call kestrum_wine_env PREFIX_DIR (an absolute path).

kestrum_wine_env() {
    local prefix=$1
    case $prefix in
        /*) ;;
        *)
            echo "kestrum_wine_env: prefix must be an absolute path: $prefix" >&2
            return 1
            ;;
    esac
    export WINEPREFIX="$prefix"
    export WINEARCH=win64
    # Debian's wine wrapper also stays quiet about the missing 32-bit loader with -all.
    export WINEDEBUG=-all
    # No Mono or Gecko install prompts, and no menu entries or file associations on the host.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    # Wine links the profile's shell folders to $HOME and its XDG folders: keep both inside the prefix.
    export HOME="$prefix/home"
    unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_STATE_HOME
    # mountmgr gives drive letters to removable media it learns about from udisks over D-Bus;
    # an unreachable bus keeps a developer's USB stick or DVD out of the sandbox.
    export DBUS_SYSTEM_BUS_ADDRESS="unix:path=/nonexistent/kestrum-no-dbus"
    export DBUS_SESSION_BUS_ADDRESS="unix:path=/nonexistent/kestrum-no-dbus"
}

# Absolute form of a path that may not exist yet, without resolving symlinks in it.
kestrum_abs_path() {
    realpath -m -s -- "$1"
}
