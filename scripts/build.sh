#!/usr/bin/env bash
# scripts/build.sh DIR [cmake options...] [-- targets...]: configures once, then
# builds what is stale (every target unless some are named after --).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
options=()
targets=()
while [ $# -gt 0 ]; do
    if [ "$1" = "--" ]; then
        shift
        targets=("$@")
        break
    fi
    options+=("$1")
    shift
done
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja "${options[@]}" >&2
fi
# Build chatter goes to stderr so that the output of what runs next stays clean.
if [ ${#targets[@]} -gt 0 ]; then
    cmake --build "$dir" --target "${targets[@]}" >&2
else
    cmake --build "$dir" >&2
fi
