# Shared by the scripts that start Wine: the environment of a jailed sandbox prefix.
# shellcheck shell=bash

# kestrum_wine_env DIR: exports what every Wine process in the prefix at DIR runs with.
kestrum_wine_env() {
    local dir
    dir=$(cd "$1" && pwd)
    export WINEPREFIX="$dir"
    export WINEARCH=win64
    export WINEDEBUG=-all
    # No Mono or Gecko installers, and no menu entries or file associations on the host.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    # Wine links the profile's folders to $HOME: keep that inside the sandbox as well.
    export HOME="$dir/home"
    mkdir -p "$HOME"
}
