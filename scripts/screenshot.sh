#!/usr/bin/env bash
# Renders docs/screenshot.png: the main window offscreen against the sample host.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${DEMO_PACKAGES[@]}"

BUILD=${BUILD:-build}
cmake -S . -B "$BUILD" -G Ninja
cmake --build "$BUILD" --target zorvek-screenshot sample-host

folder=$(mktemp -d)
trap 'kill "$host_pid" 2>/dev/null || true; rm -rf "$folder"' EXIT
mkdir -p "$folder/levelshots"
port=18780
"$BUILD/tools/sample-host/sample-host" --port "$port" --levelshots "$folder/levelshots" >"$folder/host.log" 2>&1 &
host_pid=$!
for _ in $(seq 1 100); do
    grep -q "sample host ready" "$folder/host.log" && break
    sleep 0.1
done
mkdir -p docs
QT_QPA_PLATFORM=offscreen "$BUILD/tools/screenshot/zorvek-screenshot" "127.0.0.1:$port" "$folder" docs/screenshot.png
echo "wrote docs/screenshot.png"
