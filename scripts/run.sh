#!/usr/bin/env bash
# The program's main job on a fresh machine: build, then decode the demo receiver
# log and print its fixes as JSON lines.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build/release -DCMAKE_BUILD_TYPE=Release -DWENDRA_TESTS=OFF -DWENDRA_BENCH=OFF
exec build/release/tools/wendra-tool nmea data/demo.nmea
