#!/usr/bin/env bash
# scripts/fuzz.sh TARGET [SECONDS]: runs one libFuzzer target (record_split,
# read_line, coordinate_parser, nmea_parser, track_file, config, bmp_image,
# gif_image, jpeg_image, png_image, ozi_map, points_file) on a copy of its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
CC=clang CXX=clang++ scripts/build.sh build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DWENDRA_FUZZ=ON -DWENDRA_SANITIZE=ON -DWENDRA_TESTS=OFF -DWENDRA_BENCH=OFF
target=$1
seconds=${2:-300}
case $target in
    record_split | read_line) seeds=tests/data/records ;;
    coordinate_parser) seeds=tests/data/coordinates ;;
    nmea_parser) seeds=tests/data/nmea ;;
    track_file) seeds=tests/data/track ;;
    config) seeds=tests/data/config ;;
    bmp_image | gif_image | jpeg_image | png_image) seeds=tests/data/${target%_image} ;;
    ozi_map) seeds=tests/data/ozi ;;
    points_file) seeds=tests/data/points ;;
    *) echo "unknown fuzz target $target" >&2; exit 1 ;;
esac
corpus=build/fuzz/corpus/$target
mkdir -p "$corpus" build/fuzz/crashes
cp -r "$seeds"/. "$corpus"/
exec build/fuzz/fuzz/fuzz_$target "$corpus" -max_total_time="$seconds" \
    -artifact_prefix=build/fuzz/crashes/$target- -print_final_stats=1
