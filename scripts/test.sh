#!/usr/bin/env bash
# The project's whole test command: the portable logic natively under the sanitizers, then the
# Windows program and its tests cross-built and run under Wine in sandbox prefixes. Both suites
# run whatever happens to the other; the last line sums them up as "N passed, N failed", and the
# exit code is non-zero when a build or a test failed.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

passed=0
failed=0
problems=()
logs=build/test-logs

# Runs a step that is not a test; one that fails counts as one failure.
step() {
    local what=$1
    shift
    echo "== $what"
    if "$@"; then
        return 0
    fi
    problems+=("$what failed")
    failed=$((failed + 1))
    return 1
}

# Runs a ctest command line, shows its output and adds its summary line to the counts.
suite() {
    local name=$1 log=$logs/$1.log rc=0 line bad=0 total=0
    shift
    echo "== $name"
    "$@" 2>&1 | tee "$log" || rc=$?
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
    if [[ $line =~ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]; then
        bad=${BASH_REMATCH[1]}
        total=${BASH_REMATCH[2]}
        passed=$((passed + total - bad))
        failed=$((failed + bad))
    fi
    if [[ $total -eq 0 ]]; then
        # An empty suite means the tests were not built (GoogleTest missing, say) or not found.
        problems+=("$name: no test ran")
        failed=$((failed + 1))
    elif [[ $rc -ne 0 && $bad -eq 0 ]]; then
        problems+=("$name: ctest exited with code $rc")
        failed=$((failed + 1))
    elif [[ $bad -ne 0 ]]; then
        problems+=("$name: $bad of $total tests failed")
    fi
}

# A persistent wineserver per prefix keeps the Win32 tests fast; none may outlive this run (nor
# carry a display of an earlier run into this one).
stop_wine_servers() {
    local prefix
    for prefix in build/win32/sandbox/*/; do
        [[ -d $prefix ]] || continue
        scripts/sandbox.sh server-stop "$prefix" || true
    done
}
trap stop_wine_servers EXIT

if step "installing dependencies" scripts/install-deps.sh; then
    mkdir -p "$logs"

    if step "native configure" cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug &&
        step "native build" cmake --build build/native; then
        suite native-tests ctest --test-dir build/native --output-on-failure -j2
    fi

    if step "cross configure" cmake -S . -B build/win32 -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release &&
        step "cross build" cmake --build build/win32; then
        stop_wine_servers
        # The emulator would build a missing prefix inside the first test that needs it; building
        # them first keeps those 15 seconds out of every test's timeout (and GoogleTest's
        # discovery timeout).
        # A prefix left half-built is built again by the next create: one more try keeps a
        # hiccup of Wine's first start on a new machine from failing the run.
        for version in winxp win2k win98; do
            echo "== sandbox prefix $version"
            if ! scripts/sandbox.sh create "build/win32/sandbox/$version" "$version"; then
                step "sandbox prefix $version, second try" \
                    scripts/sandbox.sh create "build/win32/sandbox/$version" "$version" || true
            fi
        done
        # One test at a time: the GUI tests drive windows on the one virtual display. The default
        # timeout keeps a test that hangs from eating the whole CI run.
        suite win32-tests xvfb-run -a -s "-screen 0 1024x768x24" \
            ctest --test-dir build/win32 --output-on-failure --timeout 600
        stop_wine_servers
    fi
fi

if [[ ${#problems[@]} -gt 0 ]]; then
    echo
    printf 'problem: %s\n' "${problems[@]}"
fi
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
