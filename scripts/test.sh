#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: the unit tests natively (plain
# and under the sanitizers), the Windows programs under Wine, and the 32-bit build.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/setup.sh"
"$top/scripts/build.sh" all

ctest --test-dir "$top/build/native" --output-on-failure -j "$(nproc)"
ctest --test-dir "$top/build/asan" --output-on-failure -j "$(nproc)"
# One Wine desktop for all: these run one at a time (the tests lock it).
ctest --test-dir "$top/build/x64" --output-on-failure
echo "All tests passed; the 32-bit programs built in build/i686."
