#!/usr/bin/env bash
# The program's main job on a fresh machine: build, then start wendra on a fresh data
# folder with the demo receiver log replayed as its GPS. Without a display it runs on
# Qt's offscreen platform and writes snapshots/wendra.png into the data folder every
# few seconds. Ctrl-C (or SIGTERM) closes it through the normal shut-down. Extra
# arguments go to wendra (for example --speed 10).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build/release -DCMAKE_BUILD_TYPE=Release -DWENDRA_TESTS=OFF -DWENDRA_BENCH=OFF
home="${WENDRA_DEMO_HOME:-$(mktemp -d "${TMPDIR:-/tmp}/wendra-demo-XXXXXX")}"
exec build/release/src/main/wendra --home "$home" --replay data/demo.nmea "$@"
