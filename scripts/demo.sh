#!/usr/bin/env bash
# Builds Zorvek and the sample host, starts the sample host on 127.0.0.1:8780 (the
# build's default list host) and opens the browser against it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${DEMO_PACKAGES[@]}"

BUILD=${BUILD:-build-demo}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD" --target zorvek sample-host

# The levelshots folder lives beside the program; the sample host fills it with
# placeholder pictures of its maps.
mkdir -p "$BUILD/levelshots"
log="$BUILD/sample-host.log"
"$BUILD/tools/sample-host/sample-host" --port 8780 --levelshots "$BUILD/levelshots" >"$log" 2>&1 &
host_pid=$!
trap 'kill "$host_pid" 2>/dev/null || true' EXIT

for _ in $(seq 1 100); do
    grep -q "sample host ready" "$log" && break
    kill -0 "$host_pid" 2>/dev/null || { cat "$log"; echo "the sample host did not start" >&2; exit 1; }
    sleep 0.1
done
grep -q "sample host ready" "$log" || { cat "$log"; echo "the sample host did not start" >&2; exit 1; }

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    "$BUILD/zorvek"
else
    echo "No display: running Zorvek on a virtual X display (xvfb-run)."
    xvfb-run -a "$BUILD/zorvek"
fi
