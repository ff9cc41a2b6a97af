#!/usr/bin/env bash
# includes_around_walls.sh ROOT...: a quoted include is looked up beside the including
# file before any include root, so "../maps/X.h", or "linux/X.h" from src/platform,
# would reach a library that is not linked. Lists each such include and fails.
set -uo pipefail
found=0
for root in "$@"; do
    while IFS= read -r hit; do
        echo "include around the library walls: $hit"
        found=1
    done < <(grep -rnE '^\s*#\s*include\s*"\.\./' "$root" --include='*.h' --include='*.cpp'
             if [ -d "$root/platform" ]; then
                 grep -nE '^\s*#\s*include\s*"(linux|qt)/' -r "$root/platform" \
                     --include='*.h' --include='*.cpp' --exclude-dir=linux --exclude-dir=qt
             fi)
done
exit $found
