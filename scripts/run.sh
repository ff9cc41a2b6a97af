#!/usr/bin/env bash
# The program's main job on a fresh machine: build, then start wendra on a fresh data
# folder with the demo receiver log replayed as its GPS and the demo map of its ground. Without a display it runs on
# Qt's offscreen platform and writes snapshots/wendra.png into the data folder every
# few seconds. Ctrl-C (or SIGTERM) closes it through the normal shut-down. Extra
# arguments go to wendra (for example --speed 10).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build/release -DCMAKE_BUILD_TYPE=Release -DWENDRA_TESTS=OFF -DWENDRA_BENCH=OFF
home="${WENDRA_DEMO_HOME:-$(mktemp -d "${TMPDIR:-/tmp}/wendra-demo-XXXXXX")}"
# A wendra-tool that cannot import into a data folder yet says so, and the demo then
# runs without its map.
if ! message=$(build/release/tools/wendra-tool map import --home "$home" data/demo-map.map \
    2>&1 >/dev/null); then
    echo "note: the demo map was not imported (${message:-no message}); the view shows no map" >&2
fi
exec build/release/src/main/wendra --home "$home" --replay data/demo.nmea "$@"
