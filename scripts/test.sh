#!/usr/bin/env bash
# Every test: the native unit tests under the sanitizers, then the Win32 tests under Wine in
# sandbox prefixes. Installs what it needs first.
set -uo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/install-deps.sh || exit 1

passed=0
failed=0
status=0

# Adds the counts from ctest's summary line ("97% tests passed, 1 tests failed out of 34").
count() {
    local line total bad
    line=$(grep -E '[0-9]+ tests failed out of [0-9]+' "$1" | tail -n 1)
    if [ -z "$line" ]; then
        return
    fi
    bad=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
}

log=$(mktemp)
trap 'rm -f "$log"' EXIT

echo "== native build and unit tests"
if cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null &&
   cmake --build build/native; then
    ctest --test-dir build/native --output-on-failure -j2 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    count "$log"
else
    echo "native build failed"
    status=1
fi

echo "== cross build and Win32 tests under Wine"
if cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
         -DCMAKE_BUILD_TYPE=Release >/dev/null &&
   cmake --build build/win32; then
    # The GUI tests find and press windows of other processes: that needs a display.
    xvfb-run -a -s "-screen 0 1024x768x24" \
        ctest --test-dir build/win32 --output-on-failure --timeout 600 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    count "$log"
else
    echo "cross build failed"
    status=1
fi
for prefix in build/win32/sandbox/*/; do
    [ -f "$prefix/.kestrum-sandbox" ] && scripts/sandbox.sh server-stop "$prefix"
done

echo "$passed passed, $failed failed"
exit $status
