#!/usr/bin/env bash
# Builds the benchmarks optimised and runs them; arguments go to each benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build/bench -DCMAKE_BUILD_TYPE=Release -DWENDRA_TESTS=OFF
for bench in build/bench/bench/bench_*; do
    "$bench" "$@"
done
