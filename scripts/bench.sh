#!/usr/bin/env bash
# Builds the benchmarks in Release in a build folder of their own and runs them:
# the refresh of 255 servers beside quakestat and a plain-socket floor, the load on the
# window, then start-up beside an empty window, offscreen and on an X server (Xvfb).
# Arguments go to bench_refresh (e.g. --rounds 30).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

BUILD=${BUILD:-build-bench}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORVEK_BUILD_TESTS=OFF
cmake --build "$BUILD" --target bench_servers bench_refresh bench_load bench_startup

# Other work on a shared machine disturbs the figures less at a higher priority; the
# benchmarks pass it on to the server process and quakestat alike.
NICE=()
if [ "$(id -u)" -eq 0 ]; then NICE=(nice -n -10); fi

export QT_QPA_PLATFORM=offscreen
# A benchmark that reports a failed run does not keep the others from printing theirs.
status=0
run() {
    echo
    "${NICE[@]}" "$@" || { status=$?; echo "$(basename "$1") failed (status $status)"; }
}
run "$BUILD/bench/bench_refresh" "$@"
run "$BUILD/bench/bench_load"
run "$BUILD/bench/bench_startup" --breakdown
# Start-up once more as on a desktop: the children draw on an X server (Xvfb) through xcb.
run xvfb-run -a -s "-screen 0 1280x1024x24" "$BUILD/bench/bench_startup" --platform xcb --breakdown
exit "$status"
