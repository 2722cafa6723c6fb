#!/usr/bin/env bash
# Mutation run, on demand and never part of the tests: plants one fault at a time in the
# portable code, rebuilds and runs the native unit tests in build/mutants, and reports the share
# of faults they catch. Any mutated file is always put back, even on Ctrl-C.
#
#   scripts/mutants.sh [ROOT] [--seed N] [--sample N] [--out FILE] [--survivors FILE] [--list]
#                      [--matrix FILE]   (which tests catch each mutant: every test runs on each)
set -euo pipefail
script_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if ! command -v python3 >/dev/null; then
    echo "mutants.sh needs python3" >&2
    exit 2
fi
exec python3 "$script_dir/lib/mutants.py" "$@"
