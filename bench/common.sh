# Shared set-up of the benchmarks: a Release Kestrum.exe installed in a sandbox prefix made for
# this run alone, with a running server; both go again when the calling script ends. Sourced,
# not run.

bench_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
sandbox=$bench_root/scripts/sandbox.sh
run_timeout=1800

die() {
    echo "${0##*/}: $*" >&2
    exit 1
}

# Seconds since the epoch with nanoseconds, for timing.
now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) print "inf"; else printf "%.2f", a / b }'; }
# Succeeds when the first number is at most the second.
at_most() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a <= b) }'; }
# Prints a measured ratio against its goal: "ratio 0.8 (goal at most 1.5): met".
report_goal() {
    local label=$1 value=$2 goal=$3 verdict="NOT met"
    if at_most "$value" "$goal"; then verdict=met; fi
    printf '%s %s (goal at most %s): %s\n' "$label" "$value" "$goal" "$verdict"
}
median() { LC_ALL=C sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

bench_prepare() {
    "$bench_root/scripts/install-deps.sh"
    cmake -S "$bench_root" -B "$bench_root/build/win32" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$bench_root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$bench_root/build/win32" --target Kestrum >/dev/null
    local exe=$bench_root/build/win32/bin/Kestrum.exe
    [[ -f $exe ]] || die "the build made no $exe"
    # KESTRUM_EXE=path measures that Kestrum.exe instead, to compare two builds on one machine.
    if [[ -n ${KESTRUM_EXE:-} ]]; then
        [[ -f $KESTRUM_EXE ]] || die "no such file: $KESTRUM_EXE"
        exe=$KESTRUM_EXE
    fi

    # A prefix of this run's own, so that benchmarks running at once never share a Wine server,
    # a temporary folder or settings.
    prefix=$bench_root/build/bench/${0##*/}-$$
    "$sandbox" create "$prefix" winxp >/dev/null
    trap bench_cleanup EXIT
    "$sandbox" install "$prefix" "$exe"
    "$sandbox" server-start "$prefix"
    drive_c=$prefix/drive_c
}

bench_cleanup() {
    "$sandbox" server-stop "$prefix" || true
    "$sandbox" remove "$prefix" || true
    rm -f -- "$prefix.lock"
}

# Runs a program in the sandbox, under a virtual display, with no terminal input.
bench_run() {
    xvfb-run -a -s "-screen 0 1024x768x24" timeout "$run_timeout" "$sandbox" run "$prefix" "$@" </dev/null
}

bench_setting() {
    "$sandbox" run "$prefix" reg add 'HKCU\Software\Kestrum\Settings' /v "$1" /t REG_SZ /d "$2" /f \
        >/dev/null 2>&1 || die "could not set $1"
}

# The Unix path of the sandbox's temporary folder.
bench_temp() {
    local value
    value=$("$sandbox" run "$prefix" cmd /c echo '%TEMP%' 2>/dev/null | tr -d '\r')
    [[ $value == [cC]:\\* ]] || die "could not read %TEMP% in the sandbox (got '$value')"
    "$sandbox" unix-path "$prefix" "$value"
}
