#!/usr/bin/env bash
# The whole test suite on a fresh machine: builds with AddressSanitizer and
# UndefinedBehaviorSanitizer, then runs every ctest label; then, for a whole run, the
# threaded tests once more under ThreadSanitizer (scripts/tsan.sh). Extra arguments
# go to the first ctest only (for example: scripts/test.sh -L unit).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWENDRA_SANITIZE=ON
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/test --output-on-failure -j2 "$@"
if [ $# -eq 0 ]; then
    scripts/tsan.sh
fi
