#!/usr/bin/env bash
# The threaded test programs built with ThreadSanitizer and run: the timers, the power
# thread, the application in its window with a replayed receiver, the serial reader
# with a pseudo-terminal and a real gpsd, the map load and manager threads, the sync
# protocol, the single instance, the HTTP request with its server thread and the tile
# service with its conversion thread.
# Extra arguments go to each test program (for example --gtest_filter=...).
set -euo pipefail
cd "$(dirname "$0")/.."
programs=(tests/app/app_thread_tests tests/app/app_window_tests tests/track/track_thread_tests
          tests/gps/gps_connection_tests tests/maps/maps_thread_tests
          tests/gps/gps_receiver_tests tests/platform/platform_thread_tests
          tests/platform/platform_http_tests tests/netmaps/netmaps_service_tests)
scripts/setup.sh
scripts/build.sh build/tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWENDRA_TSAN=ON \
    -DWENDRA_BENCH=OFF -- "${programs[@]##*/}"
# Qt's own event dispatcher rather than glib's, whose threads ThreadSanitizer cannot see.
export QT_NO_GLIB=1
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tsan.supp"
for program in "${programs[@]}"; do
    echo "ThreadSanitizer: $program" >&2
    "build/tsan/$program" --gtest_brief=1 "$@"
done
