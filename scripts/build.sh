#!/usr/bin/env bash
# scripts/build.sh DIR [cmake options...]: configures once, then builds what is stale.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja "$@" >&2
fi
# Build chatter goes to stderr so that the output of what runs next stays clean.
cmake --build "$dir" >&2
